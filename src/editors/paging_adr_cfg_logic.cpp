#include "editors/paging_adr_cfg_logic.h"

#include <algorithm>

#include "platform/text_format.h"

namespace qavo {
namespace {

const char* TypeText(uint8_t type) {
    switch (type) {
        case 1:
            return "Fire paing";
        case 2:
            return "Touch paing";
        default:
            return "Business paing";
    }
}

int DigitValue(char c, int base) {
    int value = -1;
    if (c >= '0' && c <= '9') value = c - '0';
    if (c >= 'a' && c <= 'f') value = c - 'a' + 10;
    if (c >= 'A' && c <= 'F') value = c - 'A' + 10;
    return value < base ? value : -1;
}

// The leading digits of `digits` in `base`, at most `limit` of them.
unsigned ReadNumber(std::string_view digits, int base, size_t limit) {
    unsigned value = 0;
    for (size_t i = 0; i < digits.size() && i < limit; ++i) {
        const int digit = DigitValue(digits[i], base);
        if (digit < 0) break;
        value = value * static_cast<unsigned>(base) + static_cast<unsigned>(digit);
    }
    return value;
}

}  // namespace

int PagingAdrLogic::ColumnWidth(int column, int table_width) {
    if (column < 0 || column >= kColumns) return 0;
    return table_width * kWidthTenths[static_cast<size_t>(column)] / 10;
}

uint8_t PagingAdrLogic::ReadType(std::string_view text) {
    const std::string_view head = text.substr(0, 4);
    if (head == "Fire") return 1;
    if (head == "Touc") return 2;
    return 0;
}

uint8_t PagingAdrLogic::ReadAddress(std::string_view text) {
    if (text.starts_with("0x") || text.starts_with("0X"))
        return static_cast<uint8_t>(ReadNumber(text.substr(2), 16, 2));
    // An address is two decimal digits.
    return static_cast<uint8_t>(ReadNumber(text, 10, 2));
}

PagingAdrLogic::PagingAdrLogic(const PagingAdrInput& input)
    : input_(input), count_(std::min(input.count, kPagingConsoles)) {
    rows_.reserve(count_);
    for (unsigned k = 0; k < count_; ++k) {
        rows_.push_back({Format("%.2d", k + 1), Format("Paing %.2d", k + 1),
                         TypeText(input_.types[k]), Format("%.2d", input_.addresses[k])});
    }
    address_written_.assign(count_, false);
}

const std::string& PagingAdrLogic::text(int row, int column) const {
    static const std::string kNone;
    if (row < 0 || static_cast<unsigned>(row) >= count_) return kNone;
    const PagingAdrRow& r = rows_[static_cast<size_t>(row)];
    switch (column) {
        case kIdColumn:
            return r.id;
        case kNameColumn:
            return r.name;
        case kTypeColumn:
            return r.type;
        case kAddressColumn:
            return r.address;
        default:
            return kNone;
    }
}

bool PagingAdrLogic::IsListCell(int row, int column) const {
    return row >= 0 && static_cast<unsigned>(row) < count_ &&
           (column == kTypeColumn || column == kAddressColumn);
}

bool PagingAdrLogic::IsOpenCell(int row, int column) const {
    return list_ && list_->row == row && list_->column == column;
}

PagingAdrList PagingAdrLogic::MakeList(int row, int column) const {
    PagingAdrList list{row, column, {}, -1};
    const std::string& cell = text(row, column);
    if (column == kTypeColumn) {
        list.entries.assign(kTypeEntries.begin(), kTypeEntries.end());
        list.selected = ReadType(cell);  // 0 business, 1 fire, 2 touch
    } else {
        for (unsigned n = 1; n <= count_; ++n) {
            list.entries.push_back(Format("%.2d", n));
            if (list.entries.back() == cell) list.selected = static_cast<int>(n - 1);
        }
    }
    return list;
}

PagingAdrLogic::DoubleClickResult PagingAdrLogic::DoubleClick(int row, int column) {
    if (IsOpenCell(row, column)) return DoubleClickResult::kFocused;
    if (!IsListCell(row, column)) {
        // A double click begins with a click: outside the rows it commits.
        Click(row, column);
        return DoubleClickResult::kIgnored;
    }
    Commit();
    list_ = MakeList(row, column);
    return DoubleClickResult::kOpened;
}

void PagingAdrLogic::Click(int row, int column) {
    const bool on_row = row >= 0 && static_cast<unsigned>(row) < count_;
    if (on_row && (column == kIdColumn || column == kNameColumn)) return;
    if (IsOpenCell(row, column)) return;
    Commit();
}

void PagingAdrLogic::Choose(int index) {
    if (!list_) return;
    if (index < -1 || index >= static_cast<int>(list_->entries.size())) return;
    list_->selected = index;
}

void PagingAdrLogic::Commit() {
    if (!list_) return;
    const std::string entry =
        list_->selected >= 0 ? list_->entries[static_cast<size_t>(list_->selected)] : "";
    PagingAdrRow& r = rows_[static_cast<size_t>(list_->row)];
    if (list_->column == kTypeColumn) {
        r.type = entry;
    } else {
        r.address = entry;
        address_written_[static_cast<size_t>(list_->row)] = true;
    }
    list_.reset();
}

PagingAdrResult PagingAdrLogic::ReadBack() const {
    PagingAdrResult result{input_.types, input_.addresses};
    for (unsigned k = 0; k < count_; ++k) {
        result.types[k] = ReadType(rows_[k].type);
        // An address the operator never wrote keeps its stored byte, whatever
        // its number of digits.
        if (address_written_[k]) result.addresses[k] = ReadAddress(rows_[k].address);
    }
    return result;
}

PagingAdrResult PagingAdrLogic::OK() {
    list_.reset();
    return ReadBack();
}

std::optional<BoxRequest> PagingAdrLogic::Cancel() {
    const PagingAdrResult now = ReadBack();
    if (now.types == input_.image_types && now.addresses == input_.image_addresses) {
        list_.reset();
        return std::nullopt;
    }
    BoxRequest question;
    question.text = "Are you sure you give up the current configuration?";
    question.caption = "QAVO system grouping configuration";
    question.buttons = BoxButtons::kOkCancel;
    question.icon = BoxIcon::kQuestion;
    return question;
}

bool PagingAdrLogic::CancelAnswered(BoxAnswer answer) {
    if (answer != BoxAnswer::kOk) return false;
    list_.reset();
    return true;
}

}  // namespace qavo
