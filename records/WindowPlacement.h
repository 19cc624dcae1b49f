#pragma once
// The main window's state and geometry as the settings file keeps them, in twips.

#include <cstdint>

namespace pxr3 {

struct WindowPlacement {
    int32_t state = 0; // 0 normal, 1 minimised, 2 maximised
    int32_t top = 0;
    int32_t left = 0;
    int32_t width = 0;
    int32_t height = 0;
};

// Implemented by the main window; the settings are read into it and taken from it.
class MainWindowPlacement {
public:
    virtual ~MainWindowPlacement() = default;
    virtual WindowPlacement placement() const = 0;
    virtual void applyState(int16_t state) = 0;
    virtual void applyPosition(int32_t top, int32_t left) = 0;
    virtual void applySize(int32_t width, int32_t height) = 0;
};

// The window that LoadSaveConfig talks to; none (the default) keeps the placement in memory.
void SetMainWindowPlacement(MainWindowPlacement *window);
MainWindowPlacement &mainWindowPlacement();

} // namespace pxr3
