#pragma once

#include <string>
#include <vector>

#include "plot/canvas.h"

// One logged canvas operation. Coordinates go in A..D in argument order (x, y for points;
// left, top, right, bottom for rectangles; the width for a pen width, the height for a font).
struct TCanvasOp {
    enum class TKind {
        SetPenColor,
        SetPenWidth,
        SetBrushColor,
        SetFont,
        SetFontColor,
        FillRect,
        Ellipse,
        MoveTo,
        LineTo,
        TextOut
    };
    TKind Kind = TKind::MoveTo;
    int A = 0;
    int B = 0;
    int C = 0;
    int D = 0;
    TColor Color;
    std::string Text;  // the text written, or the font name
};

// A surface that draws nothing and logs every operation, with fixed text metrics, so that
// the drawing routine's geometry can be checked exactly.
class TRecordingCanvas : public TCanvas {
  public:
    explicit TRecordingCanvas(TRect clip, int charWidthPixels = 6, int textHeightPixels = 13);

    void SetPenColor(TColor color) override;
    void SetPenWidth(int pixels) override;
    void SetBrushColor(TColor color) override;
    void SetFont(const std::string& name, int heightPixels) override;
    void SetFontColor(TColor color) override;

    void FillRect(const TRect& rect) override;
    void Ellipse(int x1, int y1, int x2, int y2) override;
    void MoveTo(int x, int y) override;
    void LineTo(int x, int y) override;
    void TextOut(int x, int y, const std::string& text) override;
    // Characters times the character width; a UTF-8 sequence counts as one character.
    int TextWidth(const std::string& text) override;
    int TextHeight(const std::string& text) override;
    TRect ClipRect() const override { return Clip; }

    const std::vector<TCanvasOp>& Ops() const { return Logged; }

  private:
    void Log(TCanvasOp::TKind kind, int a = 0, int b = 0, int c = 0, int d = 0);

    TRect Clip;
    int CharWidthPixels;
    int TextHeightPixels;
    TColor Brush{255, 255, 255};
    std::vector<TCanvasOp> Logged;
};
