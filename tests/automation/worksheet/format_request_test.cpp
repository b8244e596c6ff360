// The format types of the automation server as style attribute kinds: the
// value is the style table's kind as it stands, so 18 is the outline kind
// (no change) and 19 the fill kind.

#include <gtest/gtest.h>

#include "automation/worksheet/format_request.h"

namespace {

TEST(FormatRequest, TypesAreTheStyleTablesKindsAsTheyStand) {
  FormatInfoRecord info = {};
  info.fillType = 1;
  FormatRequest request;
  ASSERT_TRUE(BuildFormatRequest(kFormatTypeInterior, info, &request));
  EXPECT_EQ(request.kind, 0) << "18 is the outline kind, which changes no cell";
  ASSERT_TRUE(BuildFormatRequest(kFormatTypeProtection, info, &request));
  EXPECT_EQ(request.kind, kApplyInterior) << "19 is the fill kind";
  EXPECT_EQ(request.style.interior.pattern, 1);
  ASSERT_TRUE(BuildFormatRequest(kFormatTypeUserNumberFormat, info, &request));
  EXPECT_EQ(request.kind, kApplyNumberFormat);
  ASSERT_TRUE(BuildFormatRequest(11, info, &request));
  EXPECT_EQ(request.kind, 11);
  EXPECT_FALSE(BuildFormatRequest(0, info, &request));
  EXPECT_FALSE(BuildFormatRequest(20, info, &request));
}

}  // namespace
