#pragma once

#include <string>
#include <string_view>

#include "web/HttpOptions.h"
#include "web/HttpText.h"

namespace korvana {

// The socket client. Every call owns its socket and blocks the calling
// (worker) thread until the exchange ends; no state is shared, so any number
// of threads may call at once.

// One exchange: `response` is emptied, then receives the raw answer (status
// line, header, blank line, body), read as `request` says. A 30x answer with
// a location is followed as a GET (a form post is never repeated as a post);
// the result is that of the last exchange, and following more than
// options.maxRedirects redirects fails with Failed. A redirect to another
// scheme than http or https, or to a local address off the fetch's origin
// (FetchOrigin), ends it with Refused; an https target goes through TLS. The
// fetch as a whole ends with OverTime after options.totalTimeout.
HttpResult SendRequest(HttpTarget& target, std::string& response, const RequestOptions& request,
                       const HttpOptions& options = {});

// GET of an absolute URL; the body (the text after the first "\n\r\n") of
// whatever arrived, whatever the result: a time-out after part of a page
// yields that part. Empty when the URL cannot be split or nothing arrived.
// `result`, when given, gets the exchange's code.
std::string FetchPage(std::string_view url, RedirectJoin join, const HttpOptions& options = {},
                      HttpResult* result = nullptr);

// POST of an absolute URL whose query becomes the form body (search family).
// The server sends an interim answer ahead of its real one: the body of the
// final answer is returned (FinalBody), so a blank line in the page itself
// never cuts it, and an answer without the interim one is read whole.
std::string FetchPostPage(std::string_view url, const HttpOptions& options = {},
                          HttpResult* result = nullptr);

// The header of a GET of an absolute URL (search family), read up to the
// blank line; empty unless the exchange ended with Ok.
std::string FetchHeader(std::string_view url, const HttpOptions& options = {});

}  // namespace korvana
