// File probes against the real file system, in a sandbox folder.
#include <gtest/gtest.h>

#include <algorithm>
#include <utility>

#include "tests/support/list_reader.h"
#include "tests/support/sandbox.h"
#include "traces/probes.h"

using namespace zarn;
using zarn::test::Sandbox;
using zarn::test::Texts;

namespace {

class ProbesTest : public zarn::test::SandboxTest {
 protected:
  std::string dir() const { return sandbox.Dir() + "\\probe\\"; }
};

TEST(TextListTest, StoresEveryEntryWithOneLeadingBlank) {
  TextList list;
  list.Add("a.dat");
  list.Add("");
  list.Add(" already");
  EXPECT_EQ(list.Stored(0), " a.dat");
  EXPECT_EQ(list.Text(0), "a.dat");
  EXPECT_EQ(list.Text(1), "");
  EXPECT_EQ(list.Text(2), " already");
  EXPECT_EQ(list.Facts(0), nullptr);
}

TEST_F(ProbesTest, ListFilesYieldsDotsFilesAndFolders) {
  Sandbox::WriteFile(dir() + "a.dat", "12345");
  Sandbox::MakeDir(dir() + "x");
  TextList list;
  ListFiles(list, dir(), "*.*");
  auto names = Texts(list);
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{".", "..", "a.dat", "x"}));
  for (size_t i = 0; i < list.Count(); ++i) EXPECT_EQ(list.Stored(i)[0], ' ');

  ListFilesIn(list, dir(), "a.*");
  ASSERT_EQ(list.Count(), 1u);
  EXPECT_EQ(list.Text(0), dir() + "a.dat");
  ASSERT_NE(list.Facts(0), nullptr);
  EXPECT_EQ(list.Facts(0)->size, 5u);
}

TEST_F(ProbesTest, ListingOfAMissingFolderEmptiesTheList) {
  TextList list;
  list.Add("stale");
  ListFiles(list, dir() + "missing\\", "*.*");
  EXPECT_TRUE(list.Empty());
  list.Add("stale");
  ListFilesIn(list, dir(), "*.nothing");
  EXPECT_TRUE(list.Empty());
}

TEST_F(ProbesTest, SizesOfFilesFoldersAndMissingPaths) {
  Sandbox::WriteFile(dir() + "five.txt", "12345");
  Sandbox::MakeDir(dir() + "sub");
  EXPECT_EQ(FileSizeText(dir() + "five.txt"), "5");
  EXPECT_EQ(FileSizeText(dir() + "sub"), "0");
  EXPECT_EQ(FileSizeText(dir() + "nothing.txt"), "-1");
  EXPECT_EQ(FormatSize(FileSizeText(dir() + "nothing.txt")), "-1 bytes");
}

TEST(FormatSizeTest, UnitsAndRounding) {
  const std::pair<const char*, const char*> cases[] = {
      {"0", "0 bytes"},
      {"1023", "1023 bytes"},
      {"1024", "1.00 KB"},
      {"1536", "1.50 KB"},
      {"1048575", "1024.00 KB"},
      {"1048576", "1.00 MB"},
      {"5242880", "5.00 MB"},
      {"1073741824", "1.00 GB"},
      {"-1", "-1 bytes"},
      // Sizes of 2 GiB and more keep their true value.
      {"2147483648", "2.00 GB"},
  };
  for (const auto& [bytes, text] : cases) EXPECT_EQ(FormatSize(bytes), text) << bytes;
}

TEST_F(ProbesTest, FileSizeKeepsSixtyFourBits) {
  const std::string path = dir() + "big.bin";
  Sandbox::WriteFile(path, "");
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  LARGE_INTEGER at;
  at.QuadPart = 3LL * 1024 * 1024 * 1024;  // a sparse 3 GiB file
  ASSERT_TRUE(SetFilePointerEx(file, at, nullptr, FILE_BEGIN));
  ASSERT_TRUE(SetEndOfFile(file));
  CloseHandle(file);
  EXPECT_EQ(FileSizeText(path), "3221225472");
  EXPECT_EQ(FormatSize(FileSizeText(path)), "3.00 GB");
  TextList list;
  ListFilesIn(list, dir(), "big.bin");
  ASSERT_EQ(list.Count(), 1u);
  EXPECT_EQ(FileSizeText(*list.Facts(0)), "3221225472");
}

TEST_F(ProbesTest, ExistenceTestTakesOnlyFilesWithADosDate) {
  const std::string file = dir() + "f.txt";
  Sandbox::WriteFile(file);
  Sandbox::MakeDir(dir() + "folder");
  EXPECT_TRUE(FileExists(file));
  EXPECT_FALSE(FileExists(dir() + "folder"));
  EXPECT_FALSE(FileExists(dir() + "."));
  EXPECT_FALSE(FileExists(dir() + "missing"));

  // A last-write time before 1980 has no MS-DOS date: the file does not count.
  HANDLE h = CreateFileA(file.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  SYSTEMTIME st{1975, 6, 0, 15, 12, 0, 0, 0};
  FILETIME ft;
  SystemTimeToFileTime(&st, &ft);
  ASSERT_TRUE(SetFileTime(h, nullptr, nullptr, &ft));
  CloseHandle(h);
  EXPECT_FALSE(FileExists(file));
  TextList list;
  ListFilesIn(list, dir(), "f.txt");
  ASSERT_EQ(list.Count(), 1u);
  EXPECT_FALSE(FileExists(*list.Facts(0)));
}

TEST_F(ProbesTest, LockTestSeesExclusiveOpensAndReadOnlyFiles) {
  const std::string free = dir() + "free.txt", held = dir() + "held.txt", readOnly = dir() + "ro.txt";
  Sandbox::WriteFile(free);
  Sandbox::WriteFile(held);
  Sandbox::WriteFile(readOnly);
  SetFileAttributesA(readOnly.c_str(), FILE_ATTRIBUTE_READONLY);
  Sandbox::MakeDir(dir() + "folder");

  HANDLE h = CreateFileA(held.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  EXPECT_FALSE(IsFileLocked(free));
  EXPECT_TRUE(IsFileLocked(held));
  // Wine run as root may let a read-only file open for writing; then there is nothing to see.
  HANDLE w = CreateFileA(readOnly.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  bool readOnlyEnforced = w == INVALID_HANDLE_VALUE;
  if (!readOnlyEnforced) CloseHandle(w);
  EXPECT_EQ(IsFileLocked(readOnly), readOnlyEnforced);
  EXPECT_FALSE(IsFileLocked(dir() + "folder"));
  EXPECT_FALSE(IsFileLocked(dir() + "missing.txt"));
  CloseHandle(h);
  EXPECT_FALSE(IsFileLocked(held));
  SetFileAttributesA(readOnly.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(ProbesTest, EntriesThatVanishAfterListingAreNeitherLockedNorSized) {
  Sandbox::WriteFile(dir() + "gone\\a.tmp");
  TextList list;
  ListFilesIn(list, dir() + "gone\\", "*.tmp");
  ASSERT_EQ(list.Count(), 1u);
  const std::string path(list.Text(0));
  DeleteFileA(path.c_str());
  RemoveDirectoryA((dir() + "gone").c_str());
  EXPECT_FALSE(IsFileLocked(path));
  EXPECT_EQ(FileSizeText(path), "-1");
}

TEST_F(ProbesTest, NamesWithHighBytesAndOverlongPaths) {
  const std::string name = "caf\xE9 \xC4pfel.txt";
  Sandbox::WriteFile(dir() + name, "abc");
  TextList list;
  ListFiles(list, dir(), "*.txt");
  ASSERT_EQ(list.Count(), 1u);
  EXPECT_EQ(list.Text(0), name);
  EXPECT_EQ(FileSizeText(dir() + name), "3");

  const std::string longPath = dir() + std::string(300, 'a') + "\\";
  ListFiles(list, longPath, "*.*");
  EXPECT_TRUE(list.Empty());
  EXPECT_EQ(FileSizeText(longPath + "x.txt"), "-1");
  EXPECT_FALSE(FileExists(longPath + "x.txt"));
  EXPECT_FALSE(IsFileLocked(longPath + "x.txt"));
}

TEST(RemoveTextTest, RemovesEveryOccurrenceIncludingJoinedOnes) {
  EXPECT_EQ(RemoveText("HKCU", "HKCU\\Software\\Foo"), "\\Software\\Foo");
  EXPECT_EQ(RemoveText("HKCU", "\\Software\\Foo"), "\\Software\\Foo");
  EXPECT_EQ(RemoveText("Path=Profiles/", "Path=Profiles/abc.default"), "abc.default");
  EXPECT_EQ(RemoveText("ab", "aabb"), "");  // removing the inner "ab" joins another
  EXPECT_EQ(RemoveText("aba", "abababa"), "b");
  EXPECT_EQ(RemoveText("x", "xxxx"), "");
  EXPECT_EQ(RemoveText("", "text"), "text");
  std::string big;
  for (int i = 0; i < 20000; ++i) big += "Path=Profiles/";
  EXPECT_EQ(RemoveText("Path=Profiles/", big + "end"), "end");
}

TEST(ExtensionTest, FromTheLastDotAfterTheLastBackslash) {
  const std::pair<const char*, const char*> cases[] = {
      {"a.b.txt", ".txt"},
      {"noext", ""},
      {".", "."},
      {"C:\\Cache\\Content.IE5\\ABCD1234", ""},
      {"C:\\Cache\\Content.IE5", ".IE5"},
  };
  for (const auto& [path, extension] : cases) EXPECT_EQ(ExtensionOf(path), extension) << path;
}

}  // namespace
