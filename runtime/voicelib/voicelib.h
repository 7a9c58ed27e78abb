// Our side of the voice board library seam: the operations Vornline calls in the
// board's voice library (libdxxmt.dll) and its standard runtime library
// (libsrlmt.dll), bound by ordinal at load time through the .def files beside
// this header. The stand-in board in simboard/ implements exactly these.
// Every operation is synchronous (mode 0) and reports failure with -1.
#pragma once

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#if defined(_WIN32)
#define VL_CALL __cdecl
#else
#define VL_CALL
#endif

// Device name patterns: the board, and channel n (0-3) as "dxxxB1C%c" with '1' + n.
#define VL_BOARD_NAME "dxxxB1"
#define VL_CHANNEL_NAME_FORMAT "dxxxB1C%c"
#define VL_CHANNEL_COUNT 4

// Hook states for dx_sethook, and the ring wait's hook state on answer.
#define VL_ONHOOK 0
#define VL_OFFHOOK 1
#define VL_SYNC 0      // the only mode used
#define VL_WAIT_FOREVER (-1)

// Termination table entries: (kind, condition, value, flags).
#define VL_ENTRY_CHAIN 1  // another entry follows
#define VL_ENTRY_LAST 4   // the table ends with this entry

#define VL_COND_DIGIT_COUNT 1  // value: number of keys
#define VL_COND_LOOP_DROP 4    // value: loop current drop time in 10 ms units
#define VL_COND_MAX_TIME 6     // value: limit in 100 ms units

typedef struct VlTermEntry {
    uint16_t kind;
    uint16_t condition;
    uint16_t value;
    uint16_t flags;
} VlTermEntry;

// Termination reasons, as dx_term_reason answers them.
#define VL_REASON_DIGIT_COUNT 1
#define VL_REASON_HANGUP_ALT 4  // treated like a hang-up
#define VL_REASON_HANGUP 8      // loop current drop: the caller hung up
#define VL_REASON_MAX_TIME 32
#define VL_REASON_END_OF_FILE 512

// Play format: VOX ADPCM at one of three sampling rate codes, 4 bits per sample.
#define VL_FILE_FORMAT_VOX 1
#define VL_DATA_FORMAT_ADPCM 1
#define VL_RATE_6K 48
#define VL_RATE_8K 64
#define VL_RATE_11K 88
#define VL_BITS_PER_SAMPLE 4

typedef struct VlPlayFormat {
    uint16_t file_format;
    uint16_t data_format;
    uint32_t rate_code;
    uint16_t bits_per_sample;
} VlPlayFormat;

// Digits collected by dx_collect_digits: at most 31 keys and a NUL.
#define VL_DIGIT_BUFFER_SIZE 32

// libdxxmt.dll
int VL_CALL dx_open(const char* device, int flags);                                   // @119
int VL_CALL dx_close(int handle);                                                      // @120
int VL_CALL dx_sethook(int handle, int hook_state, int mode);                          // @55
int VL_CALL dx_wtring(int handle, int rings, int hook_state, int timeout);             // @139
int VL_CALL dx_play_file(int handle, const char* path, const VlTermEntry* table,
                         const VlPlayFormat* format, int mode);                        // @194
int VL_CALL dx_collect_digits(int handle, const VlTermEntry* table, char* digits,
                              int mode);                                               // @107
int VL_CALL dx_dial(int handle, const char* dial_string, void* reserved, int mode);    // @108
long VL_CALL dx_term_reason(int handle);                                               // @30
int VL_CALL dx_clear_digits(int handle);                                               // @49

// libsrlmt.dll
int VL_CALL sr_board_query(int board_handle);                                          // @127

#ifdef __cplusplus
}
#endif
