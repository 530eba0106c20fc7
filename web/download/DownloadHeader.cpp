#include "web/download/DownloadHeader.h"

#include "web/ResponseHeader.h"

namespace korvana {

DownloadHeader ParseDownloadHeader(std::string_view header) {
    const ResponseHeader parsed = ParseResponseHeader(header);
    DownloadHeader judged;
    if (!parsed.status) {
        return judged;
    }
    judged.status = *parsed.status;
    if (judged.status < 200 || judged.status >= 300) {
        judged.verdict = DownloadHeader::Verdict::Refused;
        return judged;
    }
    if (parsed.contentLength.value_or(0) <= 0) {
        judged.verdict = DownloadHeader::Verdict::NoLength;
        return judged;
    }
    judged.contentLength = *parsed.contentLength;
    judged.verdict = DownloadHeader::Verdict::Ok;
    return judged;
}

}  // namespace korvana
