// Names of the channel status pictures (bitmap resources of Vornline.exe): the idle
// and answered pictures and one picture per transfer number.
#pragma once

namespace zel {

inline constexpr const char* kPicturePhone = "PHONE";        // the line waits for a call
inline constexpr const char* kPictureAnswered = "ANSWERED";  // a call has been answered

inline constexpr int kTransferPictureCount = 17;  // 0 the default transfer, 1-16 routes 0-15

// "ZERO" for 0, "ONE" to "THIRTEEN" for 1-13, then "14A", "15A", "16A";
// nullptr for a number outside 0-16.
const char* transfer_picture_name(int number);

}  // namespace zel
