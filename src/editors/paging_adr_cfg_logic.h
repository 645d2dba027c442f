#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/prompter.h"

namespace qavo {

inline constexpr unsigned kPagingConsoles = 32;

// What the equipment editor hands to the paging address dialog: its working
// paging_count and paging_type, the image's paging_address, and the image's
// types and addresses that "Cancel" compares with.
struct PagingAdrInput {
    unsigned count = 0;
    std::array<uint8_t, 32> types{};
    std::array<uint8_t, 32> addresses{};
    std::array<uint8_t, 32> image_types{};
    std::array<uint8_t, 32> image_addresses{};
};

// The texts of one console's row.
struct PagingAdrRow {
    std::string id;
    std::string name;
    std::string type;
    std::string address;
    friend bool operator==(const PagingAdrRow&, const PagingAdrRow&) = default;
};

// The drop-down list open over a TYPE or ADDRESS cell.
struct PagingAdrList {
    int row = 0;
    int column = 0;
    std::vector<std::string> entries;
    int selected = -1;  // the current entry; -1: none
};

// What the dialog hands back on "OK".
struct PagingAdrResult {
    std::array<uint8_t, 32> types{};
    std::array<uint8_t, 32> addresses{};
    friend bool operator==(const PagingAdrResult&, const PagingAdrResult&) = default;
};

// The editing of the paging address table: the rows' texts, the in-place
// list over a TYPE or ADDRESS cell, and what "OK" and "Cancel" make of the
// table. The dialog shows what it answers and forwards the clicks.
class PagingAdrLogic {
  public:
    static constexpr int kIdColumn = 0;
    static constexpr int kNameColumn = 1;
    static constexpr int kTypeColumn = 2;
    static constexpr int kAddressColumn = 3;
    static constexpr int kColumns = 4;
    static constexpr std::array<const char*, kColumns> kHeaders{"ID", "NAME", "TYPE", "ADDRESS"};
    // Tenths of the table's width; the rest of the width stays empty.
    static constexpr std::array<int, kColumns> kWidthTenths{1, 2, 2, 2};
    static constexpr std::array<const char*, 3> kTypeEntries{"Business paging", "Fire paging",
                                                             "Touch paging"};

    static bool Centred(int column) { return column == kIdColumn || column == kNameColumn; }
    static int ColumnWidth(int column, int table_width);
    // The table's texts read back as a type and an address.
    static uint8_t ReadType(std::string_view text);
    static uint8_t ReadAddress(std::string_view text);

    explicit PagingAdrLogic(const PagingAdrInput& input = {});

    // One row per console in use.
    const std::vector<PagingAdrRow>& rows() const { return rows_; }
    const std::string& text(int row, int column) const;
    const std::optional<PagingAdrList>& open_list() const { return list_; }

    enum class DoubleClickResult {
        kIgnored,  // not on a TYPE or ADDRESS cell
        kOpened,   // a list is to be opened over the cell, dropped down: open_list()
        kFocused,  // the cell's list is open already: it takes the focus
    };
    // A double click on a cell; -1 for a row or column outside the table's
    // cells. A list open over another cell is committed first.
    DoubleClickResult DoubleClick(int row, int column);
    // A click on a cell or outside the rows (-1): commits an open list,
    // unless the click is on an ID or NAME cell or on the open cell itself.
    void Click(int row, int column);
    // The operator moved the open list to `index` (-1: no entry).
    void Choose(int index);
    // Writes the open list's current entry into its cell (empty without one)
    // and closes the list.
    void Commit();

    // "OK": an open list is dropped without writing it; the table read back.
    PagingAdrResult OK();
    // "Cancel": the question to ask before the dialog closes, or nothing
    // when the table reads back as the image holds it (an open list is then
    // dropped and the dialog closes).
    std::optional<BoxRequest> Cancel();
    // The answer to Cancel()'s question: true when the dialog closes (the
    // open list is dropped), false when it stays as it was.
    bool CancelAnswered(BoxAnswer answer);

    // The 32 types and addresses as the table reads back now.
    PagingAdrResult ReadBack() const;

  private:
    bool IsListCell(int row, int column) const;
    bool IsOpenCell(int row, int column) const;
    PagingAdrList MakeList(int row, int column) const;

    PagingAdrInput input_;
    unsigned count_ = 0;
    std::vector<PagingAdrRow> rows_;
    // Rows whose ADDRESS cell took a list's entry: they read back from the
    // cell, the others keep their stored address.
    std::vector<bool> address_written_;
    std::optional<PagingAdrList> list_;
};

}  // namespace qavo
