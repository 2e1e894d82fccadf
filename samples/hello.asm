; Hello world: prints HELLO, WORLD! on the teletype and halts.
; Built into a self-loading tape: program load with the switches at 000012.

START:  LDA 0,MSGP      ; the text's address - 1 ...
        STA 0,20        ; ... into an auto-increment location
LOOP:   LDA 0,@20       ; next character
        MOV 0,0,SNR     ; 0 ends the text
        JMP DONE
        DOAS 0,TTO      ; print it
WAIT:   SKPDN TTO       ; and wait until the printer is done
        JMP WAIT
        JMP LOOP
DONE:   HALT

MSGP:   .word MSG-1
MSG:    .text "HELLO, WORLD!\r\n"
        .word 0

        .start START
