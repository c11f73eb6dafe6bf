#include "key/rotation/option_list.h"

#include <algorithm>
#include <cassert>

namespace brisolt {

namespace {

// Every list's entries before any is removed: the catalogue positions in order.
constexpr std::array<std::uint8_t, OptionList::kCapacity> kAllEntries = [] {
    std::array<std::uint8_t, OptionList::kCapacity> entries{};
    for (std::size_t i = 0; i < entries.size(); ++i) {
        entries[i] = static_cast<std::uint8_t>(i);
    }
    return entries;
}();

} // namespace

const std::string& OptionList::EmptyText() {
    static const std::string empty;
    return empty;
}

void OptionList::FillAll(const Catalogue& catalogue) {
    assert(catalogue.Size() <= kCapacity);
    catalogue_ = &catalogue;
    count_ = std::min(catalogue.Size(), kCapacity);
    entries_ = kAllEntries;
    if (!Contains(chosen_)) {
        chosen_ = kNone;
    }
}

void OptionList::OfferAs(const OptionList& other) {
    catalogue_ = other.catalogue_;
    entries_ = other.entries_;
    count_ = other.count_;
    if (!Contains(chosen_)) {
        chosen_ = kNone;
    }
}

void OptionList::Clear() {
    count_ = 0;
    chosen_ = kNone;
}

void OptionList::RemoveAt(Index position) {
    if (!Contains(position)) {
        return;
    }
    for (Int i = position; i + 1 < count_; ++i) {
        entries_[static_cast<std::size_t>(i)] = entries_[static_cast<std::size_t>(i + 1)];
    }
    --count_;
    if (chosen_ >= count_) {
        chosen_ = kNone;
    }
}

void OptionList::Choose(Index position) {
    chosen_ = Contains(position) ? position : kNone;
}

Index OptionList::PositionOfEntry(Index entry) const {
    for (Int i = 0; i < count_; ++i) {
        if (entries_[static_cast<std::size_t>(i)] == entry) {
            return i;
        }
    }
    return kNone;
}

std::vector<std::string> OptionList::Texts() const {
    std::vector<std::string> texts;
    texts.reserve(static_cast<std::size_t>(count_));
    for (Int i = 0; i < count_; ++i) {
        texts.push_back(Text(i));
    }
    return texts;
}

} // namespace brisolt
