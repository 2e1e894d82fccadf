; Absolute binary loader: loads absolute binary blocks from the paper-tape reader.
;
; The tape: one frame per byte, each word two frames, LOW byte first. NUL frames before and
; between blocks are skipped one frame at a time, so runs of odd length keep step. A data block
; is -n (n = 1 to 16), the load address, the checksum and n words; a repeat block is -n for
; n = 17 and up (its first word 177757 or lower, down to 100000), the load address, the checksum
; and one value, which is stored at n - 1 addresses from the load address on (DG's tapes use
; them for runs of equal words); the start block is 000001, the start word and the checksum. The
; words of a block, checksum included, add up to 0.
;
; At the start block the loader jumps to the start word; when bit 0 of the start word is set it
; halts at HALTST instead (the program is loaded, not started). A checksum error halts at
; CKERR (a repeat block is tested before anything is stored), a block that begins with any other
; word (000002 to 077777) at BADBLK; both halts repeat on CONTINUE.
;
; The bootstrap loads this tape at 101 and up. The part in page zero copies the loader to 77600
; and jumps there, so that the program it loads may fill page zero. The bootstrap reads with
; DIAS, so the reader has already been started for the next frame when the loader takes over:
; the loader waits for Done before each read and restarts the reader only with a read (DIAS).
; Before it starts the program it clears the reader, which would otherwise be done with the
; frame after the start block and request an interrupt the program does not expect.

; ---- page zero: move the loader up and start it
START:  LDA 0,SRC
        STA 0,20        ; auto-increment: source - 1
        LDA 0,DST
        STA 0,21        ; destination - 1
        LDA 0,LEN
        STA 0,CTR       ; -(number of words)
COPY:   LDA 1,@20
        STA 1,@21
        ISZ CTR
        JMP COPY
        JMP @ENTRY
SRC:    .word BODY-1
DST:    .word LOADER-1
LEN:    .word LOADER-BEND
CTR:    .word 0
ENTRY:  .word LOADER

; ---- the loader, running at 77600
BODY:
        .phase 77600
LOADER:
NEXT:   JSR RDB         ; a frame
        MOV 0,0,SNR     ; NUL: skip it
        JMP NEXT
        SUB 1,1
        STA 1,SUM       ; the block's sum starts at 0
        JSR RDWL        ; its first word (the low byte is in AC0)
        STA 0,CNT
        MOVL# 0,0,SZC   ; negative: a data or a repeat block
        JMP NEG
        LDA 1,ONE
        SUB 0,1,SZR     ; 000001: the start block
        JMP BADBLK
        JSR RDW         ; start word
        STA 0,STW
        JSR RDW         ; checksum
        LDA 0,SUM
        MOV 0,0,SZR
        JMP CKERR
        NIOC PTR        ; the reader goes idle: no Done, no interrupt
        LDA 0,STW
        MOVL# 0,0,SNC   ; bit 0 set: do not start
        JMP @STW
HALTST: HALT            ; loaded, not started
        JMP HALTST

NEG:    LDA 1,C20
        ADDZ# 0,1,SNC   ; -n + 20 carries out for n = 1 to 16: a data block
        JMP REPT
DATA:   JSR RDW         ; load address
        MOV 0,2
        JSR RDW         ; checksum (only added up)
DWORD:  JSR RDW         ; the data words
        STA 0,0,2
        INC 2,2
        ISZ CNT
        JMP DWORD
        LDA 0,SUM
        MOV 0,0,SZR     ; the block adds up to 0
        JMP CKERR
        JMP NEXT

REPT:   JSR RDW         ; load address
        MOV 0,2
        JSR RDW         ; checksum (only added up)
        JSR RDW         ; the value
        LDA 1,SUM
        MOV 1,1,SZR     ; the block adds up to 0
        JMP CKERR
RWORD:  ISZ CNT         ; n - 1 words of the value
        JMP RSTORE
        JMP NEXT
RSTORE: STA 0,0,2
        INC 2,2
        JMP RWORD

CKERR:  HALT            ; checksum error
        JMP CKERR
BADBLK: HALT            ; not a block
        JMP BADBLK

; RDB: the next frame into AC0: waits for Done, reads and starts the reader again.
RDB:    SKPDN PTR
        JMP RDB
        DIAS 0,PTR
        JMP 0,3

; RDW: the next word into AC0 (low byte first), added to SUM; RDWL: the same with its low
; byte already in AC0. Uses AC1 and AC3, keeps AC2.
RDWL:   STA 3,RET
        JMP RDW2
RDW:    STA 3,RET
        JSR RDB
RDW2:   MOV 0,1         ; low byte
        JSR RDB
        MOVS 0,0        ; high byte into the left half
        ADD 1,0
        LDA 1,SUM
        ADD 0,1
        STA 1,SUM
        JMP @RET

ONE:    .word 1
C20:    .word 20
SUM:    .word 0
CNT:    .word 0
STW:    .word 0
RET:    .word 0
BEND:
        .dephase

        .start START
