// Board lines for calls (see line_pool.h).
#include "line_pool.h"

namespace zelgate {

int LinePool::take() {
    for (int i = 0; i < kLines; ++i)
        if (state_[i] == State::Free) {
            state_[i] = State::Call;
            return i + 1;
        }
    return 0;
}

void LinePool::release(int line, bool board_busy) {
    if (line < 1 || line > kLines) return;
    state_[line - 1] = board_busy ? State::Draining : State::Free;
}

void LinePool::on_hook(int line) {
    if (line < 1 || line > kLines) return;
    if (state_[line - 1] == State::Draining) state_[line - 1] = State::Free;
}

bool LinePool::free(int line) const { return line >= 1 && line <= kLines && state_[line - 1] == State::Free; }

int LinePool::in_use() const {
    int n = 0;
    for (State s : state_) n += s != State::Free ? 1 : 0;
    return n;
}

}  // namespace zelgate
