; A short run for the trace: loads, an add with carry out, a rotate through carry, a
; subroutine called three times from a counting loop, and a halt.

        .org 100
START:  LDA 0,A         ; 177777
        LDA 1,B         ; 000002
        ADDZ 0,1        ; AC1 = 000001, carry 1
        MOVL 1,1        ; AC1 = 000003, carry 0
LOOP:   JSR DOUBLE
        INC 1,1
        ISZ CNT         ; three passes
        JMP LOOP
        HALT
DOUBLE: MOVZL 1,2       ; AC2 = 2 * AC1, carry 0
        JMP 0,3
A:      .word 177777
B:      .word 2
CNT:    .word -3
