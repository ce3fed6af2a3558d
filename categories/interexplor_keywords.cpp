// The cookie keywords of the Internet Explorer category: a cookie file is a trace when its
// name holds one of them. Compared case-sensitively, so the capitals of "adClutter",
// "adSwap" and "deferAds" matter; short ones ("go", "log", "a1") select many names.
#include "categories/interexplor.h"

#include <iterator>

namespace zarn {
namespace {

const char* const kCookieKeywords[] = {
    "yahoo", "google", "adlog", "atdmt", "ads", "vnuemedia", "advertising", "casalemedia", "fastclick",
    "adknowledge", "pheedo", "doubleclick", "2mdn", "tribalfusion", "adserver", "eproof", "mercuras",
    "atwola", "cnn", "change", "tomshardware", "intellitxt", "falkag", "industrybrains", "tacoda",
    "trafficmp", "adimage", "adjs", "adx", "omniture", "popupjs", "zdnet", "chkpt", "zedo", "kliptracker",
    "dvlabs", "ru4", "imrworldwide", "overture", "banners", "a1", "yimg", "jazad", "aljazeera", "2o7",
    "insecure", "geocities", "geo", "pointroll", "servedby", "adtrix", "mediaplex", "gavzad", "keenspot",
    "kanoodle", "adbrite", "targetnet", "adframegenerator", "happy", "collegehumor", "shopping", "msn",
    "maxserving", "cneteu", "content", "search", "idg", "techworld", "advertpro", "washingtonpost",
    "bluestreak", "questionmarket", "media", "nyadmcncserve", "nytimes", "suitesmart", "ihost", "freeze",
    "metaconsult", "thinktarget", "myway", "marketbanker", "adsonar", "adrevolver", "directorym", "adcode",
    "special_ads", "yieldmanager", "mediaplazza", "ysbweb", "adonspot", "adframe", "targetpoint",
    "firstadsolution", "adzones", "torrentspy", "adview", "baventures", "bridgetrack", "revsci",
    "intelli-direct", "adClutter", "revenue", "adfetch", "adsys", "qksrv", "afcyhf", "linksynergy", "bfast",
    "tqlkg", "cc-dt", "ftjcfx", "lduhtrp", "awltovhc", "allposters", "tracking", "engadget", "relatedlabs",
    "appdb", "winehq", "dealtime", "adlegend", "business", "ctx", "mercury", "bravenet", "blogads",
    "adjuggler", "contextweb", "answers", "hitfarm", "popover", "tradedoubler", "shareasale", "tiser",
    "serving-sys", "reklama", "onet", "premiums", "mads", "adimages", "go", "adinsert", "3ps", "log", "utm",
    "adsfac", "adSwap", "deferAds", "advert", "images", "itnation", "chitika", "audiencematch", "publicus",
    "specificclick", "cpmstar", "popunder", "about", "forrestersurveys", "interclick", "centrport", "nbc29",
    "firstaffiliates", "newscientist", "kontera", "searchportal", "information", "oingo", "appliedsemantics",
    "euros4click", "adbureau", "pro-market", "valueclick", "dart", "chron", "layer-ads", "pandora", "hitbox",
    "affiliates", "newspaperads", "paypopup", "nextag", "brandconversions", "brightcove", "adsrevenue",
    "infinityads", "nationalgeographic", "comicgenesis", "topix", "eyewonder", "unicast",
};

static_assert(std::size(kCookieKeywords) == 192);

}  // namespace

std::span<const char* const> CookieKeywords() { return kCookieKeywords; }

bool HasCookieKeyword(std::string_view name) {
  for (const char* keyword : kCookieKeywords)
    if (name.find(keyword) != std::string_view::npos) return true;
  return false;
}

}  // namespace zarn
