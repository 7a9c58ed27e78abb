// Transfer picture names, in picture-number order.
#include "status_pictures.h"

namespace zel {

namespace {

constexpr const char* kTransferPictures[kTransferPictureCount] = {
    "ZERO", "ONE",  "TWO", "THREE",  "FOUR",     "FIVE", "SIX", "SEVEN", "EIGHT",
    "NINE", "TEN", "ELEVEN", "TWELVE", "THIRTEEN", "14A", "15A", "16A",
};

}  // namespace

const char* transfer_picture_name(int number)
{
    if (number < 0 || number >= kTransferPictureCount) return nullptr;
    return kTransferPictures[number];
}

}  // namespace zel
