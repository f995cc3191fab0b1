#include "shell/borders.h"

#include <exception>

namespace {

constexpr double kTint = -0.249946592608417;

void protectAgain(xl::Worksheet& sheet)
{
    try {
        sheet.protect();
    } catch (const std::exception&) {
    }
}

}  // namespace

long 罫線設定(const xl::Range& range)
{
    xl::Worksheet& sheet = range.worksheet();
    try {
        sheet.unprotect();
        // The outline is a black hairline: continuous, weight 1, palette colour 1.
        range.borderAround(xl::kContinuous, xl::kHairline, 1);
        for (int index : {xl::kInsideVertical, xl::kInsideHorizontal}) {
            xl::Border b = range.borders(index);
            b.setLineStyle(xl::kContinuous);
            b.setThemeColor(1);
            b.setTintAndShade(kTint);
            b.setWeight(xl::kThin);
        }
        sheet.protect();
        return 0;
    } catch (const std::exception&) {
        罫線設定_旧(range);
        return -1;
    }
}

long 罫線設定_旧(const xl::Range& range)
{
    xl::Worksheet& sheet = range.worksheet();
    long result = 0;
    try {
        sheet.unprotect();
        for (int index : {xl::kDiagonalDown, xl::kDiagonalUp})
            range.borders(index).setLineStyle(xl::kLineNone);
        for (int index = xl::kEdgeLeft; index <= xl::kInsideHorizontal; ++index) {
            xl::Border b = range.borders(index);
            b.setLineStyle(xl::kContinuous);
            b.setWeight(xl::kThin);
            b.setColorIndex(15);
        }
    } catch (const std::exception&) {
        result = -1;
    }
    // A failed step must not leave the roster open to edits.
    protectAgain(sheet);
    return result;
}
