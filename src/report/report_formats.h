#pragma once
// What both reports share: the value formats, the element styles, the page background and
// the farm data block.

#include <array>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "key/core/record.h"
#include "report/page.h"

namespace brisolt::report {

// ---- Value formats ----------------------------------------------------------------------

// Decimal digits of n, with "-" when negative; 0 gives "0".
std::string IntegerText(Int n);
// x rounded to a whole number, halves to the even neighbour; "" when x is not finite.
std::string RoundedText(Real x);
// Shortest text of x with up to 15 significant digits; 0 gives "0", "" when not finite.
std::string GeneralNumberText(Real x, char separator);
// A percentage share: "" for 0 or less, otherwise the general number followed by " % ".
std::string ShareText(Real x, char separator);
// Soil loss with two (mm) and three (t/ha) decimals, always with ".".
std::string TwoDecimalText(Real x);
std::string ThreeDecimalText(Real x);
// The rill answers as the protocol's observation lines: question and answer, up to four
// lines in the order the questions were asked ("Nein" alone when no rills formed).
std::array<std::pair<std::string, std::string>, 4> RillObservationLines(const AssessmentRecord& r);
// The entry at `index` of `list`; "" for an index outside it.
std::string ListEntry(const std::vector<std::string>& list, Index index);

// ---- Geometry -----------------------------------------------------------------------------

// Body positions count from the left margin and from the top of the body band.
inline constexpr double kLeftMargin = 20.0;
inline constexpr double kBodyTop = 23.5;
inline constexpr double kLineHeight = 4.5;
inline constexpr double kHeadingHeight = 5.3;
inline constexpr double kTextPoints = 8;
inline constexpr double kTitlePoints = 11;
// The smallest size a value is shrunk to before it is cut with "…".
inline constexpr double kMinValuePoints = 6;

// ---- Element styles (positions in body coordinates) ---------------------------------------

struct Place {
    double x = 0;
    double y = 0;
    double width = 0;
    double height = kLineHeight;
};

// Plain text, no frame, white background: a fixed caption.
Element Label(Place place, std::string text, bool bold = false, Align align = Align::Left);
// A label that shows a value: it shrinks to fit its box instead of being cut.
Element ValueLabel(Place place, std::string text, bool bold = false, Align align = Align::Left);
// A value box: framed on all sides, grey fill, right-aligned unless told otherwise; its
// text shrinks to fit.
Element Cell(Place place, std::string text, Align align = Align::Right);
// A section heading "Schritt n": bold, 5.3 mm high.
Element Heading(Place place, std::string text, double points);

// ---- Shared blocks --------------------------------------------------------------------------

// Title, product line ("Brisolt V2.02") and the rule under them, in sheet coordinates.
void AddPageBackground(Page& page, std::string_view title);

// The four lines of farm and parcel data, the first one at body y `top`.
void AddFarmData(Page& page, const AssessmentRecord& record, double top);

} // namespace brisolt::report
