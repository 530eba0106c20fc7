#include "transfers/TransferSort.h"

#include <cstdint>
#include <limits>

#include "util/AsciiCase.h"

namespace korvana {
namespace {

template <typename T>
int Compare(T a, T b) {
    return a < b ? -1 : (b < a ? 1 : 0);
}

// The part received; an unknown size below every known one.
double Fraction(const DownloadRow& row) {
    return row.sizeBytes > 0
               ? static_cast<double>(row.received) / static_cast<double>(row.sizeBytes)
               : -1.0;
}

// Rows without an estimate take the longest time of all.
std::int64_t TimeLeftKey(const DownloadRow& row) {
    return row.secondsLeft >= 0 ? row.secondsLeft : std::numeric_limits<std::int64_t>::max();
}

}  // namespace

void ListSort::Click(std::size_t column) {
    ascending_ = column_ == column ? !ascending_ : false;
    column_ = column;
}

SortImage ListSort::Image(std::size_t column) const {
    if (column_ != column) {
        return SortImage::Unsorted;
    }
    return ascending_ ? SortImage::Ascending : SortImage::Descending;
}

int CompareDownloadRows(const DownloadRow& a, const DownloadRow& b, std::size_t column) {
    switch (column) {
        case kDownloadName:
            return CompareIgnoringCase(a.name, b.name);
        case kDownloadBar:
        case kDownloadProgress:
            return Compare(Fraction(a), Fraction(b));
        case kDownloadRate:
            return Compare(a.bytesPerSecond, b.bytesPerSecond);
        case kDownloadTimeLeft:
            return Compare(TimeLeftKey(a), TimeLeftKey(b));
        case kDownloadSize:
        case kDownloadHumanSize:
            return Compare(a.sizeBytes, b.sizeBytes);
        case kDownloadStatus:
            return CompareIgnoringCase(a.status, b.status);
        case kDownloadLink:
            return CompareIgnoringCase(a.key.Text(), b.key.Text());
        default:
            return 0;
    }
}

int CompareUploadRows(const UploadRow& a, const UploadRow& b, std::size_t column) {
    switch (column) {
        case kUploadName:
            return CompareIgnoringCase(a.name, b.name);
        case kUploadBytes:
            return Compare(a.uploaded, b.uploaded);
        case kUploadFileId:
            return Compare(a.fileNumber, b.fileNumber);
        default:
            return 0;
    }
}

}  // namespace korvana
