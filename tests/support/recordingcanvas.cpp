#include "recordingcanvas.h"

#include <algorithm>

TRecordingCanvas::TRecordingCanvas(TRect clip, int charWidthPixels, int textHeightPixels)
    : Clip(clip), CharWidthPixels(charWidthPixels), TextHeightPixels(textHeightPixels) {}

void TRecordingCanvas::Log(TCanvasOp::TKind kind, int a, int b, int c, int d) {
    TCanvasOp op;
    op.Kind = kind;
    op.A = a;
    op.B = b;
    op.C = c;
    op.D = d;
    Logged.push_back(std::move(op));
}

void TRecordingCanvas::SetPenColor(TColor color) {
    Log(TCanvasOp::TKind::SetPenColor);
    Logged.back().Color = color;
}

void TRecordingCanvas::SetPenWidth(int pixels) {
    Log(TCanvasOp::TKind::SetPenWidth, pixels);
}

void TRecordingCanvas::SetBrushColor(TColor color) {
    Brush = color;
    Log(TCanvasOp::TKind::SetBrushColor);
    Logged.back().Color = color;
}

void TRecordingCanvas::SetFont(const std::string& name, int heightPixels) {
    Log(TCanvasOp::TKind::SetFont, heightPixels);
    Logged.back().Text = name;
}

void TRecordingCanvas::SetFontColor(TColor color) {
    Log(TCanvasOp::TKind::SetFontColor);
    Logged.back().Color = color;
}

void TRecordingCanvas::FillRect(const TRect& rect) {
    Log(TCanvasOp::TKind::FillRect, rect.Left, rect.Top, rect.Right, rect.Bottom);
    Logged.back().Color = Brush;
}

void TRecordingCanvas::Ellipse(int x1, int y1, int x2, int y2) {
    Log(TCanvasOp::TKind::Ellipse, x1, y1, x2, y2);
}

void TRecordingCanvas::MoveTo(int x, int y) {
    Log(TCanvasOp::TKind::MoveTo, x, y);
}

void TRecordingCanvas::LineTo(int x, int y) {
    Log(TCanvasOp::TKind::LineTo, x, y);
}

void TRecordingCanvas::TextOut(int x, int y, const std::string& text) {
    Log(TCanvasOp::TKind::TextOut, x, y);
    Logged.back().Text = text;
}

int TRecordingCanvas::TextWidth(const std::string& text) {
    const auto chars = std::count_if(text.begin(), text.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    });
    return static_cast<int>(chars) * CharWidthPixels;
}

int TRecordingCanvas::TextHeight(const std::string&) {
    return TextHeightPixels;
}
