; Punches a small absolute binary tape (a data block at 500 and the start block, with leader
; and trailer) on the paper-tape punch, one frame after the other, then circles for ever: its
; tape is punched, and the run goes on until it is ended.

START:  LDA 0,TABP
        STA 0,20        ; auto-increment: the next frame - 1
        LDA 0,LEN
        STA 0,CNT
NEXT:   LDA 0,@20
        DOAS 0,PTP
WAIT:   SKPDN PTP
        JMP WAIT
        ISZ CNT
        JMP NEXT
IDLE:   JMP IDLE
TABP:   .word TAB-1
LEN:    .word -30
CNT:    .word 0
TAB:    .word 0, 0, 0, 0, 376, 377, 100, 1, 60, 230, 77, 146, 123, 0, 1, 0, 100, 1, 277, 376, 0, 0, 0, 0
