#include "view/printing/header_footer_layout.h"

#include "view/draw_context/text_placement.h"

namespace {

struct SectionPass {
  const TextMeasurer& measurer;
  const HeaderRunDrawer* drawer;
  int32_t left;
  int32_t top;
  int32_t right;
  int32_t heights[3];
};

bool PlaceRun(void* self, int section, const char* text, size_t length) {
  SectionPass* pass = static_cast<SectionPass*>(self);
  if (length == 0)
    return true;
  bool ok = true;
  if (pass->drawer) {
    static const int kAlign[3] = {kAlignLeft, kAlignCentre, kAlignRight};
    const int32_t x = section == kSectionLeft     ? pass->left
                      : section == kSectionCentre ? (pass->left + pass->right) / 2
                                                  : pass->right;
    ok = pass->drawer->draw(pass->drawer->target, kAlign[section], x, pass->top + pass->heights[section], text,
                            length);
  }
  int32_t width = 0;
  int32_t height = 0;
  if (TextExtent(pass->measurer, text, length, &width, &height))
    pass->heights[section] += height;
  else
    ok = false;
  return ok;
}

}  // namespace

bool PlaceHeaderFooter(const TextMeasurer& measurer, const HeaderRunDrawer* drawer, int32_t left, int32_t top,
                       int32_t right, const char* codes, const HeaderFooterSources& sources, int32_t* height) {
  SectionPass pass = {measurer, drawer, left, top, right, {0, 0, 0}};
  const bool ok = ExpandHeaderFooter(codes, sources, PlaceRun, &pass);
  int32_t tallest = pass.heights[0];
  if (pass.heights[1] > tallest)
    tallest = pass.heights[1];
  if (pass.heights[2] > tallest)
    tallest = pass.heights[2];
  *height = tallest;
  return ok;
}
