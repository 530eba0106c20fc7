#include "controls/SearchTabModel.h"

#include <algorithm>
#include <cstdio>
#include <utility>

#include "core/StatusLog.h"

namespace korvana {

std::string TruncateField(std::string_view text, std::size_t limit) {
    if (text.size() <= limit) {
        return std::string(text);
    }
    // When the cut falls inside a UTF-8 sequence, cut before its lead byte
    // instead. Single-byte texts are cut exactly.
    auto continuation = [&](std::size_t i) {
        return (static_cast<unsigned char>(text[i]) & 0xC0) == 0x80;
    };
    std::size_t lead = limit;
    while (lead > 0 && limit - lead < 3 && continuation(lead)) {
        --lead;
    }
    const bool inside = lead < limit && static_cast<unsigned char>(text[lead]) >= 0xC0;
    return std::string(text.substr(0, inside ? lead : limit));
}

std::string TitleWithCount(std::string_view text, int count) {
    char number[16];
    std::snprintf(number, sizeof number, " (%d)", count);
    return std::string(text) + number;
}

int LastFirstTab(const std::vector<int>& widths, int room) {
    int first = static_cast<int>(widths.size());
    int used = 0;
    while (first > 0 && used + widths[static_cast<std::size_t>(first - 1)] <= room) {
        used += widths[static_cast<std::size_t>(--first)];
    }
    // A last tab wider than the room is still shown from its start.
    return std::min(first, std::max(0, static_cast<int>(widths.size()) - 1));
}

int FirstTabShown(const std::vector<int>& widths, int room, int first, int keepVisible) {
    const int count = static_cast<int>(widths.size());
    first = std::clamp(first, 0, LastFirstTab(widths, room));
    if (keepVisible < 0 || keepVisible >= count) {
        return first;
    }
    if (keepVisible < first) {
        return keepVisible;
    }
    int used = 0;
    for (int i = first; i <= keepVisible; ++i) {
        used += widths[static_cast<std::size_t>(i)];
    }
    while (used > room && first < keepVisible) {
        used -= widths[static_cast<std::size_t>(first++)];
    }
    return first;
}

bool SearchTabModel::Enabled(int index) const {
    return Valid(index) && enabled_.At(static_cast<std::size_t>(index)) != 0;
}

void SearchTabModel::SetEnabled(int index, bool enabled) {
    if (Valid(index)) {
        enabled_.Set(static_cast<std::size_t>(index), enabled ? 1u : 0u);
    }
}

void SearchTabModel::Add(std::string title, int image, int searchId) {
    std::string text = title;
    tabs_.push_back(SearchTab{std::move(title), image, searchId, std::move(text)});
    enabled_.Add(1);
    Select(Count() - 1);
}

bool SearchTabModel::SetResultCount(int searchId, int count) {
    for (SearchTab& tab : tabs_) {
        if (tab.searchId != searchId) {
            continue;
        }
        if (log_ != nullptr) {
            log_->Line("Match");
        }
        tab.title = TitleWithCount(TruncateField(tab.text, kTabTitleReadBack), count);
        return true;
    }
    return false;
}

void SearchTabModel::SetToolTip(int searchId, std::string toolTip) {
    for (SearchTab& tab : tabs_) {
        if (tab.searchId == searchId) {
            tab.toolTip = std::move(toolTip);
            return;
        }
    }
}

void SearchTabModel::SetItemTitle(int index, std::string title) {
    if (Valid(index)) {
        SearchTab& tab = tabs_[static_cast<std::size_t>(index)];
        tab.text = title;
        tab.title = std::move(title);
    }
}

void SearchTabModel::RemoveAll() {
    enabled_.RemoveAll();
    tabs_.clear();
    selected_ = -1;
}

void SearchTabModel::Remove(int index) {
    if (!Valid(index)) {
        return;
    }
    enabled_.RemoveAt(static_cast<std::size_t>(index));
    tabs_.erase(tabs_.begin() + index);
    if (index == selected_) {
        selected_ = -1;
    } else if (index < selected_) {
        --selected_;
    }
}

void SearchTabModel::RemoveSelected() {
    const int s = selected_;
    if (Count() > 1) {
        Select(s <= 0 ? s + 1 : s - 1);
    }
    Remove(s);
}

int SearchTabModel::SelectedSearchId() const {
    return Valid(selected_) ? tabs_[static_cast<std::size_t>(selected_)].searchId : -1;
}

bool SearchTabModel::Select(int index) {
    if (index == selected_ && Valid(index)) {
        return true;
    }
    if (!Enabled(index)) {
        return false;
    }
    selected_ = index;
    return true;
}

std::optional<int> SearchTabModel::SelectByUser(int index) {
    if (index == selected_ || !Enabled(index)) {
        return std::nullopt;
    }
    previous_ = selected_;
    selected_ = index;
    return tabs_[static_cast<std::size_t>(index)].searchId;
}

int SearchTabModel::Neighbour(int step, bool wrap) const {
    const int count = Count();
    int index = selected_;
    for (int tried = 1; tried < count || (selected_ < 0 && tried <= count); ++tried) {
        index += step;
        if (wrap) {
            index = (index % count + count) % count;
        } else if (!Valid(index)) {
            return -1;
        }
        if (Enabled(index)) {
            return index;
        }
    }
    return -1;
}

Rgb TabTitleColour(const TabColours& colours, const SystemColours& system, bool enabled,
                   bool selected, bool hovered) {
    if (!enabled) {
        return colours.disabled.value_or(system.greyText);
    }
    if (selected) {
        return colours.selected.value_or(system.buttonText);
    }
    if (hovered && colours.hover) {
        return *colours.hover;
    }
    return colours.normal.value_or(system.buttonText);
}

}  // namespace korvana
