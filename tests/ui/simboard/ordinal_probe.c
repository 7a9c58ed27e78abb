/* Links every voice library operation through the import libraries, so the check of its
   import table sees each ordinal. Never run. */
#include "voicelib.h"

#include <stddef.h>

int main(void) {
    char digits[VL_DIGIT_BUFFER_SIZE];
    VlPlayFormat format = {VL_FILE_FORMAT_VOX, VL_DATA_FORMAT_ADPCM, VL_RATE_8K, VL_BITS_PER_SAMPLE};
    int board = dx_open(VL_BOARD_NAME, 0);
    sr_board_query(board);
    dx_close(board);
    int h = dx_open("dxxxB1C1", 0);
    dx_sethook(h, VL_ONHOOK, VL_SYNC);
    dx_wtring(h, 1, VL_OFFHOOK, VL_WAIT_FOREVER);
    dx_play_file(h, "x.vox", NULL, &format, VL_SYNC);
    dx_collect_digits(h, NULL, digits, VL_SYNC);
    dx_dial(h, "&,1", NULL, VL_SYNC);
    dx_clear_digits(h);
    return (int)dx_term_reason(h) + dx_close(h);
}
