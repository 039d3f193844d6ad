#pragma once

#include <cstdint>

// What all views of one document share: the magnification and the scroll
// position. Views of differently sized images show the same pixel offset.
struct DisplayState {
    float displayScale = 1.0f;
    std::int32_t scrollPosX = 0;
    std::int32_t scrollPosY = 0;
};
