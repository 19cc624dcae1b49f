#include "records/WindowPlacement.h"

namespace pxr3 {

namespace {
// Until the main window exists the placement read from the file is kept here, so that a
// save writes back what was read.
class StoredPlacement : public MainWindowPlacement {
public:
    WindowPlacement placement() const override { return stored_; }
    void applyState(int16_t state) override { stored_.state = state; }
    void applyPosition(int32_t top, int32_t left) override
    {
        stored_.top = top;
        stored_.left = left;
    }
    void applySize(int32_t width, int32_t height) override
    {
        stored_.width = width;
        stored_.height = height;
    }

private:
    WindowPlacement stored_;
};

StoredPlacement &stored()
{
    static StoredPlacement instance;
    return instance;
}
MainWindowPlacement *&current()
{
    static MainWindowPlacement *window = nullptr;
    return window;
}
} // namespace

void SetMainWindowPlacement(MainWindowPlacement *window) { current() = window; }
MainWindowPlacement &mainWindowPlacement() { return current() ? *current() : stored(); }

} // namespace pxr3
