#pragma once

#include <cstdint>
#include <string>

struct TColor {
    std::uint8_t R = 0;
    std::uint8_t G = 0;
    std::uint8_t B = 0;
    friend bool operator==(TColor, TColor) = default;
};

// Pixel rectangle; Right and Bottom lie just outside it.
struct TRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
    friend bool operator==(const TRect&, const TRect&) = default;
};

// The small drawing surface the diagram is drawn through. Integer pixels, origin top-left;
// everything outside the target is clipped. Texts are UTF-8.
class TCanvas {
  public:
    virtual ~TCanvas() = default;

    virtual void SetPenColor(TColor color) = 0;
    virtual void SetPenWidth(int pixels) = 0;
    virtual void SetBrushColor(TColor color) = 0;
    virtual void SetFont(const std::string& name, int heightPixels) = 0;
    virtual void SetFontColor(TColor color) = 0;

    // Fills with the brush; the right column and the bottom row stay outside.
    virtual void FillRect(const TRect& rect) = 0;
    // Ellipse inscribed in the rectangle of two opposite corners: pen outline, brush inside.
    virtual void Ellipse(int x1, int y1, int x2, int y2) = 0;
    virtual void MoveTo(int x, int y) = 0;
    virtual void LineTo(int x, int y) = 0;
    // Text with its cell's top-left corner at (x, y), on the brush colour.
    virtual void TextOut(int x, int y, const std::string& text) = 0;
    virtual int TextWidth(const std::string& text) = 0;
    virtual int TextHeight(const std::string& text) = 0;
    // Bounding rectangle of the area that can be drawn on.
    virtual TRect ClipRect() const = 0;
};
