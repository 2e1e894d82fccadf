; Keyboard test 2: waits in a one-word loop with interrupts on; the key's interrupt echoes it.
; Only TTI may interrupt (every other device masked). Halts after echoing ".".

START:  LDA 0,VECTOR
        STA 0,1         ; interrupt vector
        LDA 0,MASK
        MSKO 0
        INTEN
IDLE:   JMP IDLE

INT:    STA 0,SAVE0
        STA 1,SAVE1
        SKPDN TTI
        JMP BACK
        DIAC 0,TTI
        DOAS 0,TTO
WAIT:   SKPDN TTO
        JMP WAIT
        LDA 1,DOT
        SUB 0,1,SNR
        HALT
BACK:   LDA 0,SAVE0
        LDA 1,SAVE1
        INTEN
        JMP @0

VECTOR: .word INT
MASK:   .word 177775    ; all but TTI (mask bit 14)
DOT:    .word '.'
SAVE0:  .word 0
SAVE1:  .word 0
