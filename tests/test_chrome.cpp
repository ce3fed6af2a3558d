// The categories of the Chromium-based browsers that keep their profiles in one User Data
// folder, one per row of their table: when page 1 offers them, what their scan lists in every
// profile and in which order, and that a clean keeps what users keep. Every test walks the
// table, so a new row is covered as it is added.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <iterator>
#include <memory>
#include <set>

#include "app/catalogue.h"
#include "tests/support/category_test.h"

using namespace zarn;
using namespace zarn::test;

namespace {

using Browser = const ChromiumBrowser*;

// The browsers known before they became rows, as their forms and page 1 have always shown
// them: the table starts with them, unchanged.
struct Known {
  const char* caption;
  const char* className;
  const char* scanButtonName;
  const char* userData;
  const char* userKey;
  const char* updaterKey;
};
const Known kKnown[] = {
    {"Google Chrome", "TChromeForm", "chromebtn", "\\Google\\Chrome\\User Data\\", "Software\\Google\\Chrome",
     "Software\\Google\\Update\\Clients\\{8A69D345-D564-463c-AFF1-A69D9E530F96}"},
    {"Microsoft Edge", "TEdgeForm", "edgebtn", "\\Microsoft\\Edge\\User Data\\", "Software\\Microsoft\\Edge",
     "Software\\Microsoft\\EdgeUpdate\\ClientState\\{56EB18F8-B008-4CBD-B6D2-8C97FE7E9062}"},
    {"Brave", "TBraveForm", "bravebtn", "\\BraveSoftware\\Brave-Browser\\User Data\\",
     "Software\\BraveSoftware\\Brave-Browser", nullptr},
    {"Vivaldi", "TVivaldiForm", "vivaldibtn", "\\Vivaldi\\User Data\\", "Software\\Vivaldi", nullptr},
};

std::string Text(const char* text) { return text ? text : "<none>"; }

TEST(ChromiumBrowsers, TheKnownBrowsersComeFirstUnchangedAndEveryRowIsWellFormed) {
  const auto rows = ChromiumBrowsers();
  ASSERT_GE(rows.size(), std::size(kKnown));
  for (size_t i = 0; i < std::size(kKnown); ++i) {
    const Known& k = kKnown[i];
    const ChromiumBrowser& b = rows[i];
    SCOPED_TRACE(k.caption);
    EXPECT_EQ(Text(b.form.caption), k.caption);
    EXPECT_EQ(Text(b.form.className), k.className);
    EXPECT_EQ(Text(b.form.scanButtonName), k.scanButtonName);
    EXPECT_EQ(Text(b.userData), k.userData);
    EXPECT_EQ(Text(b.userKey), k.userKey);
    EXPECT_EQ(Text(b.updaterKey), Text(k.updaterKey));
  }
  std::set<std::string> captions, classes, buttons;
  for (const ChromiumBrowser& b : rows) {
    ASSERT_NE(b.form.caption, nullptr);
    SCOPED_TRACE(b.form.caption);
    EXPECT_TRUE(captions.insert(b.form.caption).second);
    EXPECT_TRUE(classes.insert(Text(b.form.className)).second);
    EXPECT_TRUE(buttons.insert(Text(b.form.scanButtonName)).second);
    EXPECT_EQ(Text(b.form.title), std::string("Zarn Cleaner - ") + b.form.caption);
    EXPECT_EQ(b.form.family, StatusFamily::A);
    EXPECT_EQ(Text(b.description), "Cookies, Internet Cache, History");
    // The icon is in the program's resources.
    HICON icon = static_cast<HICON>(
        LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(b.form.iconId), IMAGE_ICON, 32, 32, 0));
    EXPECT_NE(icon, nullptr);
    if (icon) DestroyIcon(icon);
    const std::string_view userData = b.userData ? b.userData : "";
    EXPECT_TRUE(userData.starts_with("\\") && userData.ends_with("\\User Data\\")) << userData;
    EXPECT_TRUE(std::string_view(Text(b.userKey)).starts_with("Software\\"));
    if (b.updaterKey) {
      EXPECT_TRUE(std::string_view(b.updaterKey).starts_with("Software\\"));
    }
  }
}

// Each group is one listing, whose order the file system decides; groups follow in scan order.
using Groups = std::vector<std::vector<std::string>>;

// The traces of one profile, newer (Network\Cookies, Cache\Cache_Data) or older layout.
Groups ProfileTraces(const std::string& p, bool newer) {
  Groups g;
  g.push_back(newer ? std::vector<std::string>{p + "Cache\\Cache_Data\\data_0", p + "Cache\\Cache_Data\\f_000001"}
                    : std::vector<std::string>{p + "Cache\\data_1", p + "Cache\\index"});
  g.push_back({p + "Code Cache\\js\\index", p + "Code Cache\\wasm\\index-dir\\the-real-index"});
  g.push_back({p + "GPUCache\\data_0"});
  // The cookie database comes between the caches and History, site by site (a file that is
  // no database gives no site).
  for (const char* name : {"History", "Visited Links", "Top Sites", "Shortcuts"}) g.push_back({p + name});
  g.push_back({p + "Sessions\\Session_13350000000000000", p + "Sessions\\Tabs_13350000000000000"});
  return g;
}

// What users keep, and what no row names, in every profile.
const char* const kKept[] = {"Bookmarks",
                             "Bookmarks.bak",
                             "Login Data",
                             "Login Data-journal",
                             "Login Data For Account",
                             "Web Data",
                             "Web Data-journal",
                             "Preferences",
                             "Secure Preferences",
                             "Favicons",
                             "Favicons-journal",
                             "Extensions\\aapocclcgogkmnckokdopfmhonfmgoek\\0.10_0\\manifest.json",
                             "Web Applications\\app\\32.png",
                             "Extension Cookies",
                             "Current Session",
                             "Network\\TransportSecurity",
                             "Local Storage\\leveldb\\000003.log",
                             "Network Action Predictor",
                             "Service Worker\\CacheStorage\\index.txt",
                             "Sessions\\Saved session.bin",
                             "Sync Data\\LevelDB\\CURRENT"};

class BrowserTest : public CategoryTest, public ::testing::WithParamInterface<Browser> {
 protected:
  const ChromiumBrowser& B() const { return *GetParam(); }
  std::unique_ptr<TCategoryForm> Make() const { return std::make_unique<TChromiumForm>(B()); }
};

TEST_P(BrowserTest, EveryProfileInOrderHeldFilesLeftOutAndTheCleanKeepsWhatUsersKeep) {
  const std::string ud = sandbox.localAppData + B().userData;
  // Default has the newer layout, the numbered profiles the older one; 10 follows 2.
  const std::pair<const char*, bool> profiles[] = {{"Default", true}, {"Profile 2", false}, {"Profile 10", true}};
  Groups expected;
  // Beside the profiles: the browser's own state, and folders that are no profile.
  std::vector<std::string> kept = {ud + "Local State", ud + "Guest Profile\\History", ud + "System Profile\\Cookies",
                                   ud + "Profile x\\History", ud + "ShaderCache\\data_0"};
  for (const auto& [name, newer] : profiles) {
    const std::string p = ud + name + "\\";
    for (auto& group : ProfileTraces(p, newer)) expected.push_back(group);
    for (const char* file : kKept) kept.push_back(p + file);
    kept.push_back(p + (newer ? "Network\\Cookies" : "Cookies"));
  }
  for (const std::string& path : kept) Sandbox::WriteFile(path);
  for (const auto& group : expected)
    for (const std::string& path : group) Sandbox::WriteFile(path, std::string(2048, 'x'));
  // A running browser holds History open; its cache files may be in use too.
  const std::string history = ud + "Profile 2\\History", inUse = ud + "Default\\GPUCache\\data_0";
  std::erase(expected, std::vector<std::string>{history});
  HeldOpen lock(history, GENERIC_READ | GENERIC_WRITE), cacheLock(inUse, GENERIC_READ | GENERIC_WRITE);
  ASSERT_TRUE(lock.Held() && cacheLock.Held());

  auto form = Make();
  ASSERT_TRUE(form->Create());
  const auto paths = ShownPaths(*form);
  size_t at = 0;
  for (const auto& group : expected) {
    EXPECT_EQ(Slice(paths, at, group.size()), std::set<std::string>(group.begin(), group.end())) << "at " << at;
    at += group.size();
  }
  EXPECT_EQ(paths.size(), at);
  EXPECT_EQ(WindowText(form->StatusLabel()), std::to_string(at) + " Files founds");
  for (const ShownRow& row : ReadList(form->Traces().Handle())) {
    const std::string path = row[1] + row[0];
    const bool cache = path.find("Cache\\") != std::string::npos;
    EXPECT_EQ(row[3], cache ? "Internet Cache" : "History") << path;
    EXPECT_EQ(row[2], "") << path;
    EXPECT_EQ(row[4], "2.00 KB") << path;
    EXPECT_TRUE(row.ticked) << path;
  }

  const std::string spared = ud + "Profile 10\\Visited Links";
  SetTick(form->Traces().Handle(), static_cast<int>(std::find(paths.begin(), paths.end(), spared) - paths.begin()),
          false);
  cacheLock.Release();
  form->ClickDelete();
  for (const auto& group : expected)
    for (const std::string& path : group) EXPECT_EQ(Sandbox::Exists(path), path == spared) << path;
  for (const std::string& path : kept) EXPECT_TRUE(Sandbox::Exists(path)) << path;
  EXPECT_TRUE(Sandbox::Exists(history));
  EXPECT_TRUE(Sandbox::Exists(ud + "Default\\Code Cache\\wasm\\index-dir"));

  // Once the browser lets go, History is listed in its place.
  lock.Release();
  form->ClickScan();
  EXPECT_EQ(ShownPaths(*form), (std::vector<std::string>{history, spared}));
}

TEST_P(BrowserTest, ADatabasesJournalIsNoTraceAndGoesOnlyWithItsDatabase) {
  const std::string p = sandbox.localAppData + B().userData + "Default\\";
  // Each database as the clean meets it: ticked, unticked, or opened again by the browser
  // after the scan, so that it cannot be deleted.
  enum Fate { Ticked, Unticked, Reopened };
  const std::pair<std::string, Fate> databases[] = {{p + "History", Ticked},
                                                    {p + "Top Sites", Unticked},
                                                    {p + "Shortcuts", Reopened}};
  for (const auto& [path, fate] : databases) {
    Sandbox::WriteFile(path);
    Sandbox::WriteFile(path + "-journal");
  }
  auto form = Make();
  ASSERT_TRUE(form->Create());
  std::vector<std::string> listed;
  for (const auto& [path, fate] : databases) listed.push_back(path);
  ASSERT_EQ(ShownPaths(*form), listed);

  const auto paths = ShownPaths(*form);
  for (const auto& [path, fate] : databases)
    if (fate == Unticked)
      SetTick(form->Traces().Handle(), static_cast<int>(std::find(paths.begin(), paths.end(), path) - paths.begin()),
              false);
  HeldOpen reopened(p + "Shortcuts", GENERIC_READ | GENERIC_WRITE);
  ASSERT_TRUE(reopened.Held());
  form->ClickDelete();
  for (const auto& [path, fate] : databases) {
    EXPECT_EQ(Sandbox::Exists(path), fate != Ticked) << path;
    EXPECT_EQ(Sandbox::Exists(path + "-journal"), fate != Ticked) << path;
  }
}

TEST_P(BrowserTest, OfferedWhenItsFolderOrAKeyOfItsIsThereAfterTheTwelve) {
  const ChromiumBrowser& b = B();
  const auto offered = [&] {
    const auto rows = BuildCatalogue();
    return rows.size() == 4 && rows[3].caption == b.form.caption &&
           rows[3].description == "Cookies, Internet Cache, History";
  };
  const auto notOffered = [] { return BuildCatalogue().size() == 3u; };
  // A browser without an updater key is not offered for the local machine's root either.
  EXPECT_TRUE(notOffered());
  const std::string folder = sandbox.localAppData + b.userData, userData = folder.substr(0, folder.size() - 1);
  // Each sign in the wrong place: a file for the folder, the user key under the local
  // machine, the updater's key under the current user.
  Sandbox::WriteFile(userData);
  Sandbox::CreateKey(Root::HKLM, b.userKey);
  if (b.updaterKey) Sandbox::CreateKey(Root::HKCU, b.updaterKey);
  EXPECT_TRUE(notOffered());
  ASSERT_TRUE(DeleteFileA(userData.c_str()));
  Sandbox::MakeDir(userData);
  EXPECT_TRUE(offered());
  ASSERT_TRUE(RemoveDirectoryA(userData.c_str()));
  EXPECT_TRUE(notOffered());
  Sandbox::CreateKey(Root::HKCU, b.userKey);
  EXPECT_TRUE(offered());
  RegDeleteKeyA(HKEY_CURRENT_USER, b.userKey);
  EXPECT_TRUE(notOffered());
  if (!b.updaterKey) return;
  Sandbox::CreateKey(Root::HKLM, b.updaterKey);
  EXPECT_TRUE(offered());
}

TEST_P(BrowserTest, LinkedFoldersAreNeverEntered) {
  const char* fixtures = std::getenv("ZARN_LINK_FIXTURES");
  if (!fixtures || !*fixtures) GTEST_SKIP() << "ZARN_LINK_FIXTURES is not set";
  // Profile 7, Default\Cache, Default\Network and Code Cache\js\LINKED lead to a folder
  // outside that holds History, Cookies and cache files.
  const std::string local = std::string(fixtures) + "\\chromium";
  const std::string p = local + B().userData + "Default\\";
  Sandbox::SetString(Root::HKCU, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders",
                     "Local AppData", local);
  auto form = Make();
  ASSERT_TRUE(form->Create());
  EXPECT_EQ(ShownPaths(*form), (std::vector<std::string>{p + "Code Cache\\js\\index", p + "History"}));
}

std::vector<Browser> EveryBrowser() {
  std::vector<Browser> all;
  for (const ChromiumBrowser& b : ChromiumBrowsers()) all.push_back(&b);
  return all;
}

// Named by the form's class without its "T" and "Form": unique, as the first test checks.
INSTANTIATE_TEST_SUITE_P(Browsers, BrowserTest, ::testing::ValuesIn(EveryBrowser()), [](const auto& info) {
  const std::string name = info.param->form.className;
  return name.substr(1, name.size() - 5);
});

// Every browser installed, each by one sign: by its folder and by its user key in turn.
class BrowsersOnPageOneTest : public AppTest {
  void Seed() override {
    Sandbox::CreateKey(Root::HKCU, "Software\\Microsoft\\MediaPlayer\\Player");
    for (size_t i = 0; i < ChromiumBrowsers().size(); ++i) {
      const std::string folder = sandbox.localAppData + ChromiumBrowsers()[i].userData;
      if (i % 2 == 0)
        Sandbox::MakeDir(folder.substr(0, folder.size() - 1));
      else
        Sandbox::CreateKey(Root::HKCU, ChromiumBrowsers()[i].userKey);
    }
  }
};

TEST_F(BrowsersOnPageOneTest, EveryBrowsersRowFollowsTheTwelveInOrderAndDispatchesToItsForm) {
  const auto rows = ReadList(Main(TMainForm::kLvall));
  std::vector<std::string> expected = {"Windows Explorer", "Windows Applets", "System", "Media Player"};
  for (const ChromiumBrowser& b : ChromiumBrowsers()) expected.push_back(b.form.caption);
  ASSERT_EQ(Names(rows), expected);
  for (size_t i = 0; i < ChromiumBrowsers().size(); ++i) {
    const ChromiumBrowser& b = ChromiumBrowsers()[i];
    SCOPED_TRACE(b.form.caption);
    EXPECT_TRUE(rows[4 + i].ticked);
    EXPECT_EQ(rows[4 + i][1], "Cookies, Internet Cache, History");
    TCategoryForm* form = FindCategoryForm(rows[4 + i][0]);
    ASSERT_NE(form, nullptr);
    // The browser's own form, made from its row, in the window class its row names.
    const auto* browserForm = dynamic_cast<const TChromiumForm*>(form);
    ASSERT_NE(browserForm, nullptr);
    EXPECT_EQ(&browserForm->Browser(), &b);
    char cls[64] = "";
    GetClassNameA(form->Handle(), cls, sizeof cls);
    EXPECT_EQ(std::string(cls), b.form.className);
    EXPECT_EQ(WindowText(form->Handle()), std::string("Zarn Cleaner - ") + b.form.caption);
    EXPECT_EQ(WindowText(form->ScanButton()), b.form.scanButtonName);
    EXPECT_EQ(WindowText(form->StatusLabel()), "0 Files founds");
  }
  EXPECT_EQ(FindCategoryForm("google chrome"), nullptr);
}

}  // namespace
