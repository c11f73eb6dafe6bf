#include "key/rotation/option_list.h"

#include <algorithm>
#include <cassert>

namespace brisolt {

namespace {
const std::string kEmpty;
}

void OptionList::FillAll(const Catalogue& catalogue) {
    assert(catalogue.Size() <= kCapacity);
    catalogue_ = &catalogue;
    count_ = std::min(catalogue.Size(), kCapacity);
    for (Int i = 0; i < count_; ++i) {
        entries_[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i);
    }
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

Index OptionList::EntryAt(Index position) const {
    return Contains(position) ? entries_[static_cast<std::size_t>(position)] : kNone;
}

Index OptionList::PositionOfEntry(Index entry) const {
    for (Int i = 0; i < count_; ++i) {
        if (entries_[static_cast<std::size_t>(i)] == entry) {
            return i;
        }
    }
    return kNone;
}

const std::string& OptionList::Text(Index position) const {
    const Index entry = EntryAt(position);
    return entry < 0 ? kEmpty : catalogue_->Texts[static_cast<std::size_t>(entry)];
}

const std::string& OptionList::Code(Index position) const {
    const Index entry = EntryAt(position);
    return entry < 0 ? kEmpty : catalogue_->Codes[static_cast<std::size_t>(entry)];
}

Int OptionList::Number(Index position) const {
    const Index entry = EntryAt(position);
    return entry < 0 ? kNone : catalogue_->Numbers[static_cast<std::size_t>(entry)];
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
