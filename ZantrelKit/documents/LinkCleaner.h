#pragma once

// Strips tracking parameters (utm_*, fbclid, gclid and the like) from web links. Pure;
// any thread.

#include <QString>
#include <QStringView>
#include <QUrl>

#include <array>
#include <cstdint>
#include <string_view>

namespace ZantrelKit::LinkCleaner {

inline constexpr std::array<std::string_view, 26> trackingNames{
    "utm_source", "utm_medium", "utm_campaign", "utm_term", "utm_content", "utm_id", "fbclid",
    "gclid",      "dclid",      "gbraid",       "wbraid",   "msclkid",     "yclid",  "twclid",
    "ttclid",     "igshid",     "li_fat_id",    "mc_cid",   "mc_eid",      "_hsenc", "_hsmi",
    "mkt_tok",    "oly_anon_id", "oly_enc_id",  "vero_id",  "srsltid"};

// Any name starting "utm_", or one of the names above, ignoring case.
bool isTracking(QStringView name);

// How many of the link's query items carry a tracking name.
std::int64_t trackerCount(const QUrl& url);

// The link without its tracking items; the very same link when there is nothing to take
// out. The other items stay exactly as they were encoded, in their order; a query left
// empty goes with its "?".
QUrl clean(const QUrl& url);

}  // namespace ZantrelKit::LinkCleaner
