// A channel's current status picture, handed between the thread that replaces it
// (the channel's own thread) and the thread that paints it (the user-interface
// thread) without a lock: a paint borrows the picture for the length of one copy, and
// whichever side lets go of a picture last releases it. So a picture is never
// released while a paint copies from it, and never released twice.
// Portable: the hand-off is tested without the platform.
#pragma once

#include <atomic>

namespace vorn {

template <class Picture>
class PictureSlot {
public:
    using Release = void (*)(Picture*);

    explicit PictureSlot(Release release) : release_(release) {}
    PictureSlot(const PictureSlot&) = delete;
    PictureSlot& operator=(const PictureSlot&) = delete;

    // Writer side. Makes `fresh` (which may be null: no picture) the current picture and
    // releases the one it replaces, unless a paint holds that one; the paint then
    // releases it when it gives it back.
    void replace(Picture* fresh)
    {
        Picture* old = current_.exchange(fresh, std::memory_order_acq_rel);
        if (old && old != lent()) release_(old);
    }

    // Reader side, one reader at a time. The current picture (null when none) for the
    // reader's own use until give_back.
    Picture* borrow() { return current_.exchange(lent(), std::memory_order_acq_rel); }

    // Returns what borrow gave. When the writer replaced the picture meanwhile, the
    // borrowed one is out of date and is released here.
    void give_back(Picture* borrowed)
    {
        Picture* expected = lent();
        if (!current_.compare_exchange_strong(expected, borrowed, std::memory_order_acq_rel) && borrowed)
            release_(borrowed);
    }

    // Releases the current picture; for the end of the channel, when neither side runs.
    void clear() { replace(nullptr); }

private:
    // Marks the slot while a paint holds its picture; never a real picture's address.
    static Picture* lent() { return reinterpret_cast<Picture*>(&lent_mark_); }

    static inline char lent_mark_ = 0;
    std::atomic<Picture*> current_{nullptr};
    Release release_;
};

}  // namespace vorn
