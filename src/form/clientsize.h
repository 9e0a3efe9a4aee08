#pragma once

// The window's fixed client area (pixels), the surface its diagram is drawn on.
inline constexpr int kClientWidth = 862;
inline constexpr int kClientHeight = 606;
