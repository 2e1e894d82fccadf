; Keyboard test 3: keeps TTI started all the time and looks at it only now and then (once per
; 65536 passes of a counting loop), interrupts off. Echoes every key, halts after ".".

START:  NIOS TTI
COUNT:  ISZ CNT
        JMP COUNT
        SKPDN TTI
        JMP COUNT
        DIAS 0,TTI      ; read the key and start TTI again
        DOAS 0,TTO
WAIT:   SKPDN TTO
        JMP WAIT
        LDA 1,DOT
        SUB 0,1,SNR
        HALT
        JMP COUNT
CNT:    .word 0
DOT:    .word '.'
