#pragma once

#include <algorithm>

// The selection of a radio group of Count items: -1 for none, else 0 .. Count - 1. A move to
// an item raises the group's click; a move to none, or to the item already selected, does not.
class TItemIndex {
  public:
    TItemIndex(int count, int index) : Count(count), Index(Limit(index)) {}

    int Value() const { return Index; }
    int Limit(int index) const { return std::clamp(index, -1, Count - 1); }
    // Records the selection, limited; true when the move raises the group's click.
    bool Select(int index) {
        index = Limit(index);
        const bool clicks = index >= 0 && index != Index;
        Index = index;
        return clicks;
    }

  private:
    int Count;
    int Index;
};
