#include "controls/SearchTabModel.h"

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

std::string TitleWithCount(std::string_view title, int count) {
    std::string stem(title.substr(0, title.find('(')));
    if (stem.size() < title.size() && !stem.empty()) {
        stem.pop_back();
    }
    char number[16];
    std::snprintf(number, sizeof number, " (%d)", count);
    return stem + number;
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
    tabs_.push_back(SearchTab{std::move(title), image, searchId});
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
        tab.title = TitleWithCount(TruncateField(tab.title, kTabTitleReadBack), count);
        return true;
    }
    return false;
}

void SearchTabModel::SetItemTitle(int index, std::string title) {
    if (Valid(index)) {
        tabs_[static_cast<std::size_t>(index)].title = std::move(title);
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
