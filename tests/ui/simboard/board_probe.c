/* Calls every voice library operation once through the import libraries: the check of its
   import table sees each ordinal, and run alone in a folder with the two DLLs it shows that
   they load and answer without anything else. Exit code 0 when every answer is right. */
#include "voicelib.h"

#include <stdio.h>

static int failures = 0;

static void check(const char* what, long got, long want) {
    if (got != want) {
        printf("%s: %ld, expected %ld\n", what, got, want);
        ++failures;
    }
}

int main(void) {
    static const VlTermEntry at_once[1] = {{VL_ENTRY_LAST, VL_COND_DIGIT_COUNT, 0, 0}};
    VlPlayFormat format = {VL_FILE_FORMAT_VOX, VL_DATA_FORMAT_ADPCM, VL_RATE_8K, VL_BITS_PER_SAMPLE};
    char digits[VL_DIGIT_BUFFER_SIZE] = "x";
    int board = dx_open(VL_BOARD_NAME, 0);
    check("board open", board > 0, 1);
    check("board query", sr_board_query(board), 0);
    check("board close", dx_close(board), 0);
    int h = dx_open("dxxxB1C1", 0);
    check("channel open", h > 0, 1);
    check("on-hook", dx_sethook(h, VL_ONHOOK, VL_SYNC), 0);
    check("ring wait with a time-out of 0 s", dx_wtring(h, 1, VL_OFFHOOK, 0), -1);
    check("off-hook", dx_sethook(h, VL_OFFHOOK, VL_SYNC), 0);
    check("play of a missing file", dx_play_file(h, "no such file.vox", NULL, &format, VL_SYNC), -1);
    check("collection of none", dx_collect_digits(h, at_once, digits, VL_SYNC), 0);
    check("digits", digits[0], 0);
    check("reason", dx_term_reason(h), VL_REASON_DIGIT_COUNT);
    check("dial", dx_dial(h, "1", NULL, VL_SYNC), 0);
    check("clear", dx_clear_digits(h), 0);
    check("channel close", dx_close(h), 0);
    printf("%s\n", failures ? "board probe FAILED" : "board probe passed");
    return failures;
}
