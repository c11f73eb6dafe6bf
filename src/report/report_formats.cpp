#include "report/report_formats.h"

#include <cmath>

#include "key/core/number_text.h"
#include "key/core/texts.h"
#include "key/results/rill_erosion.h"

namespace brisolt::report {

std::string IntegerText(Int n) {
    return std::to_string(n);
}

std::string RoundedText(Real x) {
    return FormatFixed(x, 0, '.');
}

std::string GeneralNumberText(Real x, char separator) {
    if (std::isnan(x) || std::isinf(x)) {
        return {};
    }
    if (x == 0) {
        return "0";
    }
    if (x < 0) {
        const std::string magnitude = FormatPositiveReal(-x, separator);
        return magnitude.empty() ? std::string("0") : "-" + magnitude;
    }
    return FormatPositiveReal(x, separator);
}

std::string ShareText(Real x, char separator) {
    std::string text = FormatPositiveReal(x, separator);
    if (!text.empty()) {
        text += " % ";
    }
    return text;
}

std::string TwoDecimalText(Real x) {
    return FormatFixed(x, 2, '.');
}

std::string ThreeDecimalText(Real x) {
    return FormatFixed(x, 3, '.');
}

std::string ListEntry(const std::vector<std::string>& list, Index index) {
    if (index < 0 || static_cast<std::size_t>(index) >= list.size()) {
        return {};
    }
    return list[static_cast<std::size_t>(index)];
}

std::array<std::pair<std::string, std::string>, 4> RillObservationLines(const AssessmentRecord& r) {
    auto answer = [&r](RillQuestion q) {
        return ListEntry(RillQuestionListOf(q).Answers, RillAnswer(r, q));
    };
    auto title = [](RillQuestion q) { return RillQuestionListOf(q).Title; };
    auto line = [&](RillQuestion q) { return std::pair{title(q), answer(q)}; };

    std::array<std::pair<std::string, std::string>, 4> lines{};
    if (r.Channels == 1) {
        lines[0] = line(RillQuestion::Channels);
        return lines;
    }
    lines[0] = line(RillQuestion::NumChannels);
    if (r.NumChannels == 0) {
        lines[1] = line(RillQuestion::DepthChannel);
        if (r.DepthChannel < 2) {
            lines[2] = line(RillQuestion::WidthChannel);
            lines[3] = line(RillQuestion::FrequencyChannels);
        } else {
            lines[2] = line(RillQuestion::FrequencyChannels);
        }
    } else {
        lines[1] = line(RillQuestion::DepthChannels);
        lines[2] = line(RillQuestion::FrequencyChannels);
    }
    return lines;
}

namespace {

RectMm OnSheet(Place place) {
    return {place.x + kLeftMargin, place.y + kBodyTop, place.width, place.height};
}

} // namespace

Element Label(Place place, std::string text, bool bold, Align align) {
    Element e;
    e.kind = ElementKind::Text;
    e.box = OnSheet(place);
    e.text = std::move(text);
    e.fontPoints = kTextPoints;
    e.bold = bold;
    e.align = align;
    e.fill = Fill::White;
    return e;
}

Element ValueLabel(Place place, std::string text, bool bold, Align align) {
    Element e = Label(place, std::move(text), bold, align);
    e.minFontPoints = kMinValuePoints;
    return e;
}

Element Cell(Place place, std::string text, Align align) {
    Element e;
    e.kind = ElementKind::Text;
    e.box = OnSheet(place);
    e.text = std::move(text);
    e.fontPoints = kTextPoints;
    e.align = align;
    e.frame = Frame::All();
    e.fill = Fill::Grey;
    e.minFontPoints = kMinValuePoints;
    return e;
}

Element Heading(Place place, std::string text, double points) {
    place.height = kHeadingHeight;
    Element e = Label(place, std::move(text), true);
    e.fontPoints = points;
    return e;
}

void AddPageBackground(Page& page, std::string_view title) {
    Element titleBox;
    titleBox.box = {21.2, 10.6, 120.9, 5.0};
    titleBox.text = std::string(title);
    titleBox.fontPoints = kTitlePoints;
    titleBox.bold = true;
    titleBox.fill = Fill::White;
    page.elements.push_back(titleBox);

    Element product = titleBox;
    product.box = {141.8, 10.6, 57.4, 5.0};
    product.text = std::string(texts::kProgramName) + " " + std::string(texts::kVersion);
    product.align = Align::Right;
    page.elements.push_back(product);

    Element rule;
    rule.kind = ElementKind::Line;
    rule.box = {20.6, 15.1, 178.6, 2.1};
    page.elements.push_back(rule);
}

void AddFarmData(Page& page, const AssessmentRecord& record, double top) {
    // Captions at A and E, values at B and at 120.7; every line the same style.
    constexpr double kA = 0, kB = 38.1, kE = 82.5, kValue = 120.7;
    constexpr double kCaptionWidth = 36.2, kLeftValueWidth = 44.7, kRightValueWidth = 46.8;
    const double y1 = top, y2 = top + 4.2, y3 = top + 8.5, y4 = top + 12.7;
    auto caption = [&page](double x, double y, std::string text) {
        page.elements.push_back(Label({x, y, kCaptionWidth}, std::move(text), true));
    };
    auto value = [&page](double x, double y, double width, std::string text) {
        page.elements.push_back(ValueLabel({x, y, width}, std::move(text), true));
    };
    caption(kA, y1, "Name und Vorname :");
    value(kB, y1, kLeftValueWidth, record.NameSurname);
    caption(kE, y1, "Jahr der Abschätzung :");
    value(kValue, y1, kRightValueWidth, IntegerText(record.Year));

    caption(kA, y2, "Adresse :");
    value(kB, y2, kLeftValueWidth, record.Address1);
    caption(kE, y2, "Variante :");
    value(kValue, y2, kRightValueWidth, record.Variant);

    value(kB, y3, kLeftValueWidth, record.Address2);
    caption(kE, y3, "Erstellt am :");
    value(kValue, y3, kRightValueWidth, record.EnteredOn);

    caption(kA, y4, "Flurname / Parzelle :");
    value(kB, y4, kLeftValueWidth, record.Parzelle);
    caption(kE, y4, "Erstellt durch :");
    // Room for two lines; the first one level with its caption.
    Element enteredBy = ValueLabel({kValue, y4, kRightValueWidth, 8.7}, record.EnteredBy, true);
    enteredBy.firstLineBandMm = kLineHeight;
    page.elements.push_back(std::move(enteredBy));
}

} // namespace brisolt::report
