; Keyboard test 1: polls SKPDN TTI without ever starting TTI, interrupts off.
; Echoes every key on the teletype and halts after echoing ".".

KEY:    SKPDN TTI
        JMP KEY
        DIAC 0,TTI      ; read the key, clear Done
        DOAS 0,TTO
WAIT:   SKPDN TTO
        JMP WAIT
        LDA 1,DOT
        SUB 0,1,SNR     ; "." ends
        HALT
        JMP KEY
DOT:    .word '.'
