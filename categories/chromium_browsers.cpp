#include "categories/chromium_browsers.h"

#include "res/resource.h"

namespace zarn {
namespace {

constexpr char kDescription[] = "Cookies, Internet Cache, History";

// Chrome keeps its profiles in the local (not roaming) part of the user's profile; the
// others keep theirs where Chrome does, under their maker's folder or their own name.
// Brave's wallet and rewards data lie beside the traces and no row names them. A browser
// without an updater key is known by its folder and its user key alone.
const ChromiumBrowser kBrowsers[] = {
    {.form = {.caption = "Google Chrome",
              .className = "TChromeForm",
              .title = "Zarn Cleaner - Google Chrome",
              .scanButtonName = "chromebtn",
              .family = StatusFamily::A,
              .iconId = IDI_CAT_CHROME},
     .description = kDescription,
     .userData = "\\Google\\Chrome\\User Data\\",
     .userKey = "Software\\Google\\Chrome",
     .updaterKey = "Software\\Google\\Update\\Clients\\{8A69D345-D564-463c-AFF1-A69D9E530F96}"},
    {.form = {.caption = "Microsoft Edge",
              .className = "TEdgeForm",
              .title = "Zarn Cleaner - Microsoft Edge",
              .scanButtonName = "edgebtn",
              .family = StatusFamily::A,
              .iconId = IDI_CAT_EDGE},
     .description = kDescription,
     .userData = "\\Microsoft\\Edge\\User Data\\",
     .userKey = "Software\\Microsoft\\Edge",
     .updaterKey = "Software\\Microsoft\\EdgeUpdate\\ClientState\\{56EB18F8-B008-4CBD-B6D2-8C97FE7E9062}"},
    {.form = {.caption = "Brave",
              .className = "TBraveForm",
              .title = "Zarn Cleaner - Brave",
              .scanButtonName = "bravebtn",
              .family = StatusFamily::A,
              .iconId = IDI_CAT_BRAVE},
     .description = kDescription,
     .userData = "\\BraveSoftware\\Brave-Browser\\User Data\\",
     .userKey = "Software\\BraveSoftware\\Brave-Browser",
     .updaterKey = nullptr},
    {.form = {.caption = "Vivaldi",
              .className = "TVivaldiForm",
              .title = "Zarn Cleaner - Vivaldi",
              .scanButtonName = "vivaldibtn",
              .family = StatusFamily::A,
              .iconId = IDI_CAT_VIVALDI},
     .description = kDescription,
     .userData = "\\Vivaldi\\User Data\\",
     .userKey = "Software\\Vivaldi",
     .updaterKey = nullptr},
};

}  // namespace

std::span<const ChromiumBrowser> ChromiumBrowsers() { return kBrowsers; }

}  // namespace zarn
