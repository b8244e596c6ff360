#include "view/draw_context/portable_text_measurer.h"
#include "view/draw_context/screen_measurer.h"

ScreenMeasurer::ScreenMeasurer() : measurer_{}, state_(new PortableTextMeasurer) {
  measurer_ = static_cast<PortableTextMeasurer*>(state_)->Measurer();
}

ScreenMeasurer::~ScreenMeasurer() { delete static_cast<PortableTextMeasurer*>(state_); }

int32_t ScreenPixelsPerInchX() { return PortableTextMeasurer::kPixelsPerInch; }
int32_t ScreenPixelsPerInchY() { return PortableTextMeasurer::kPixelsPerInch; }
