#pragma once
// The state of one drop-down choice: the entries it offers (a filtered view of a catalogue,
// texts and codes in step) and the chosen position, -1 when nothing is chosen.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "key/rotation/catalogues.h"

namespace brisolt {

class OptionList {
public:
    static constexpr Int kCapacity = 39; // the longest catalogue, the main crops

    // Offers every entry of the catalogue; the chosen position stays as it was if the
    // refilled list still has it, otherwise nothing is chosen.
    void FillAll(const Catalogue& catalogue);
    // Offers the entries another list offers; the chosen position stays as it was if this
    // list now has it, otherwise nothing is chosen.
    void OfferAs(const OptionList& other);
    // No entries, nothing chosen.
    void Clear();
    // Removes the entry at a position; later entries move up one place. A chosen position
    // keeps its number, as a list box does, and is dropped when it falls off the end.
    void RemoveAt(Index position);
    // Chooses a position; anything outside the list means nothing chosen.
    void Choose(Index position);

    Index Chosen() const { return chosen_; }
    Int Count() const { return count_; }
    bool Contains(Index position) const { return position >= 0 && position < count_; }

    // Text and code at a position; the empty text outside the list.
    const std::string& Text(Index position) const {
        const Index entry = EntryAt(position);
        return entry < 0 ? EmptyText() : catalogue_->Texts[static_cast<std::size_t>(entry)];
    }
    const std::string& Code(Index position) const {
        const Index entry = EntryAt(position);
        return entry < 0 ? EmptyText() : catalogue_->Codes[static_cast<std::size_t>(entry)];
    }
    // The code at a position as an integer; -1 outside the list.
    Int Number(Index position) const {
        const Index entry = EntryAt(position);
        return entry < 0 ? kNone : catalogue_->Numbers[static_cast<std::size_t>(entry)];
    }
    const std::string& ChosenText() const { return Text(chosen_); }
    // Position of the catalogue entry at `position` in the full catalogue, -1 outside.
    Index EntryAt(Index position) const {
        return Contains(position) ? entries_[static_cast<std::size_t>(position)] : kNone;
    }
    // Position of a catalogue entry in this list, -1 when the list does not offer it.
    Index PositionOfEntry(Index entry) const;

    // All offered texts in order, for a screen to show.
    std::vector<std::string> Texts() const;

private:
    static const std::string& EmptyText();

    const Catalogue* catalogue_ = nullptr;
    std::array<std::uint8_t, kCapacity> entries_{};
    Int count_ = 0;
    Index chosen_ = kNone;
};

} // namespace brisolt
