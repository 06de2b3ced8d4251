// SPDX-FileCopyrightText: 2026 The Stallark developers
// SPDX-License-Identifier: MIT

#pragma once

#include <functional>
#include <optional>
#include <vector>

class QAbstractItemView;

// A view's place across a reload that makes its rows anew: the selected rows and the current
// one by the slots of their horses, the current column, and the scroll. The scroll bars keep
// their range until the view is next laid out, so the position is put back as it was; fewer
// rows then shorten it.
class TViewPlace {
public:
    using SlotOfRow = std::function<int(int row)>;
    using RowOfSlot = std::function<std::optional<int>(int slot)>;

    TViewPlace(const QAbstractItemView& view, const SlotOfRow& slotOfRow);
    // Puts the place back on the rows of the same horses, where they are still shown.
    void Restore(QAbstractItemView& view, const RowOfSlot& rowOfSlot) const;

private:
    std::vector<int> selected_;
    std::optional<int> current_;
    int column_ = 0;
    int across_ = 0, down_ = 0;
};
