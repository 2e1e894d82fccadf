; Prints "LPT" and a carriage return on the line printer, punches the bytes 001 377 on the
; paper-tape punch, and halts.

START:  LDA 0,MSGP
        STA 0,20
NEXT:   LDA 0,@20
        MOV 0,0,SNR
        JMP PUNCH
        DOAS 0,LPT
LWAIT:  SKPDN LPT
        JMP LWAIT
        JMP NEXT
PUNCH:  LDA 0,P1
        DOAS 0,PTP
W1:     SKPDN PTP
        JMP W1
        LDA 0,P2
        DOAS 0,PTP
W2:     SKPDN PTP
        JMP W2
        HALT
MSGP:   .word MSG-1
MSG:    .text "LPT\r"
        .word 0
P1:     .word 1
P2:     .word 377
