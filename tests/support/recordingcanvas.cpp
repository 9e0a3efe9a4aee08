#include "recordingcanvas.h"

#include <algorithm>

TRecordingCanvas::TRecordingCanvas(TRect clip, int charWidthPixels, int textHeightPixels)
    : clip_(clip), charWidth_(charWidthPixels), textHeight_(textHeightPixels) {}

void TRecordingCanvas::Log(TCanvasOp::TKind kind, int a, int b, int c, int d) {
    TCanvasOp op;
    op.Kind = kind;
    op.A = a;
    op.B = b;
    op.C = c;
    op.D = d;
    ops_.push_back(std::move(op));
}

void TRecordingCanvas::SetPenColor(TColor color) {
    Log(TCanvasOp::TKind::SetPenColor);
    ops_.back().Color = color;
}

void TRecordingCanvas::SetPenWidth(int pixels) {
    Log(TCanvasOp::TKind::SetPenWidth, pixels);
}

void TRecordingCanvas::SetBrushColor(TColor color) {
    brush_ = color;
    Log(TCanvasOp::TKind::SetBrushColor);
    ops_.back().Color = color;
}

void TRecordingCanvas::SetFont(const std::string& name, int heightPixels) {
    Log(TCanvasOp::TKind::SetFont, heightPixels);
    ops_.back().Text = name;
}

void TRecordingCanvas::SetFontColor(TColor color) {
    Log(TCanvasOp::TKind::SetFontColor);
    ops_.back().Color = color;
}

void TRecordingCanvas::FillRect(const TRect& rect) {
    Log(TCanvasOp::TKind::FillRect, rect.Left, rect.Top, rect.Right, rect.Bottom);
    ops_.back().Color = brush_;
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
    ops_.back().Text = text;
}

int TRecordingCanvas::TextWidth(const std::string& text) {
    const auto chars = std::count_if(text.begin(), text.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    });
    return static_cast<int>(chars) * charWidth_;
}

int TRecordingCanvas::TextHeight(const std::string&) {
    return textHeight_;
}
