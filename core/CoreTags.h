#pragma once

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

namespace korvana {

// One tag of a core result, such as "availability" or "bitrate". Text tags
// (type 2) carry `text`; every other type carries `intValue`.
struct CoreTag {
    static constexpr std::size_t kMaxName = 127;
    static constexpr std::size_t kMaxText = 127;
    static constexpr std::uint8_t kTextType = 2;

    std::string name;
    std::uint8_t type = 0;
    std::int32_t intValue = 0;
    std::string text;
};

// A tag as read back from `CoreTags`: the views point into the tag list and
// live as long as it does.
struct CoreTagView {
    std::string_view name;
    std::uint8_t type = 0;
    std::int32_t intValue = 0;
    std::string_view text;
};

// The tags of one core result, packed into a single buffer. The core link
// keeps every result for the life of the process and a real core sends half
// a dozen tags with each, so separate records (a string pair and a number
// apiece) would cost several times the bytes the tags hold.
class CoreTags {
  public:
    class Iterator {
      public:
        using iterator_category = std::forward_iterator_tag;
        using value_type = CoreTagView;
        using difference_type = std::ptrdiff_t;
        using pointer = const CoreTagView*;
        using reference = const CoreTagView&;

        Iterator() = default;
        reference operator*() const { return current_; }
        pointer operator->() const { return &current_; }
        Iterator& operator++();
        Iterator operator++(int);
        bool operator==(const Iterator& other) const { return at_ == other.at_; }

      private:
        friend class CoreTags;
        Iterator(std::string_view packed, std::size_t at);
        void Read();

        std::string_view packed_;
        std::size_t at_ = 0;
        std::size_t next_ = 0;
        CoreTagView current_;
    };

    CoreTags() = default;
    // Keeps the tags in the order given. Names and texts longer than their
    // limits are cut.
    explicit CoreTags(const std::vector<CoreTag>& tags);

    Iterator begin() const { return Iterator(packed_, 0); }
    Iterator end() const { return Iterator(packed_, packed_.size()); }

  private:
    std::string packed_;
};

}  // namespace korvana
