// The file system contract: listing, patterns, attributes, copying over what is in the way,
// deleting, folders, long paths and Japanese names whose second byte is a separator's code.
#include <algorithm>
#include <vector>

#include "tests/contract/contract_machine.h"

namespace setup::contract {
namespace {

using FileSystemContract = ContractTest;

std::vector<std::string> Names(const std::vector<FoundEntry>& entries) {
  std::vector<std::string> names;
  for (const FoundEntry& entry : entries) names.push_back(entry.name);
  std::sort(names.begin(), names.end());
  return names;
}

const FoundEntry* Find(const std::vector<FoundEntry>& entries, const std::string& name) {
  for (const FoundEntry& entry : entries) {
    if (entry.name == name) return &entry;
  }
  return nullptr;
}

std::string Repeat(const std::string& text, std::size_t times) {
  std::string repeated;
  for (std::size_t i = 0; i < times; ++i) repeated += text;
  return repeated;
}

std::uint32_t AttributesOf(FileSystem& files, const std::string& folder, const std::string& name) {
  const std::vector<FoundEntry> entries = files.FindEntries(folder + "\\" + name);
  const FoundEntry* entry = Find(entries, name);
  return entry == nullptr ? 0xFFFFFFFFu : entry->attributes;
}

TEST_P(FileSystemContract, WholeFilesAreWrittenReadAndReplaced) {
  const std::string path = In("data.bin");
  const std::string bytes("line\r\n\0\x82\xa0\xff", 10);
  EXPECT_EQ(files().WriteWholeFile(path, bytes), WriteResult::Ok);
  EXPECT_EQ(files().ReadWholeFile(path).value_or("<none>"), bytes);
  EXPECT_EQ(files().WriteWholeFile(path, "ab"), WriteResult::Ok);
  EXPECT_EQ(files().ReadWholeFile(path).value_or("<none>"), "ab");
  const std::string large(3 << 19, 'L');
  EXPECT_EQ(files().WriteFileInParts(path,
                                     [&](const PartSink& sink) {
                                       sink("first,");
                                       sink("");
                                       sink(large);
                                       sink(",last");
                                     }),
            WriteResult::Ok);
  EXPECT_EQ(files().ReadWholeFile(path).value_or("<none>"), "first," + large + ",last");
  EXPECT_EQ(files().WriteWholeFile(In("missing\\x.cfg"), "x"), WriteResult::CannotCreate);
  EXPECT_FALSE(files().ReadWholeFile(In("missing.txt")).has_value());

  EXPECT_EQ(files().WriteWholeFile(In("new.tmp"), "new"), WriteResult::Ok);
  EXPECT_TRUE(files().ReplaceFile(In("new.tmp"), path));
  EXPECT_FALSE(files().FileExists(In("new.tmp")));
  EXPECT_EQ(files().ReadWholeFile(path).value_or("<none>"), "new");
  EXPECT_TRUE(files().ReplaceFile(path, In("fresh.dat")));  // onto a name that does not exist yet
  EXPECT_TRUE(files().FileExists(In("fresh.dat")));
  EXPECT_FALSE(files().ReplaceFile(In("absent.tmp"), In("fresh.dat")));
  EXPECT_TRUE(files().FileExists(In("fresh.dat")));

  // A plain move renames, and refuses a name that is taken.
  EXPECT_TRUE(files().ReplacesInOneStep());
  EXPECT_TRUE(files().MoveFile(In("fresh.dat"), In(kHyou + ".old")));
  EXPECT_EQ(files().ReadWholeFile(In(kHyou + ".old")).value_or("<none>"), "new");
  files().WriteWholeFile(In("taken.dat"), "taken");
  EXPECT_FALSE(files().MoveFile(In(kHyou + ".old"), In("taken.dat")));
  EXPECT_EQ(files().ReadWholeFile(In("taken.dat")).value_or("<none>"), "taken");
  EXPECT_FALSE(files().MoveFile(In("absent.tmp"), In("other.dat")));
}

TEST_P(FileSystemContract, ListingsGiveNamesSizesAndAttributes) {
  ASSERT_TRUE(files().CreateDirectory(In("sub")));
  files().WriteWholeFile(In("three.txt"), "123");
  files().WriteWholeFile(In("hidden.dat"), "hidden");
  files().WriteWholeFile(In("system.dat"), "system");
  files().WriteWholeFile(In("noext"), "");
  EXPECT_TRUE(files().SetAttributes(In("hidden.dat"), kAttrHidden));
  EXPECT_TRUE(files().SetAttributes(In("system.dat"), kAttrSystem | kAttrReadOnly));

  const std::vector<FoundEntry> all = files().FindEntries(In("*.*"));
  EXPECT_EQ(Names(all), (std::vector<std::string>{".", "..", "hidden.dat", "noext", "sub", "system.dat", "three.txt"}));
  const FoundEntry* three = Find(all, "three.txt");
  ASSERT_NE(three, nullptr);
  EXPECT_EQ(three->size, 3u);
  EXPECT_EQ(three->attributes & (kAttrDirectory | kAttrHidden | kAttrSystem), 0u);
  EXPECT_NE(Find(all, "sub")->attributes & kAttrDirectory, 0u);
  EXPECT_NE(Find(all, ".")->attributes & kAttrDirectory, 0u);
  EXPECT_NE(Find(all, "hidden.dat")->attributes & kAttrHidden, 0u);
  EXPECT_EQ(Find(all, "system.dat")->attributes & (kAttrSystem | kAttrReadOnly), kAttrSystem | kAttrReadOnly);
  files().SetAttributes(In("system.dat"), kAttrArchive);

  EXPECT_TRUE(files().FindEntries(In("*.none")).empty());
  EXPECT_TRUE(files().FindEntries(In("no-such-folder\\*.*")).empty());
  EXPECT_TRUE(files().FindEntries(In("three.txt\\*.*")).empty());
}

TEST_P(FileSystemContract, PatternsMatchCharactersWithoutRegardToCase) {
  for (const std::string& name :
       {std::string("A.TXT"), std::string("ab.txt"), std::string("abc.txt"), kHyou + ".TXT", kSo + kNou + ".txt"}) {
    ASSERT_EQ(files().WriteWholeFile(In(name), "x"), WriteResult::Ok) << name;
  }
  EXPECT_EQ(Names(files().FindEntries(In("*.TXT"))),
            (std::vector<std::string>{"A.TXT", "ab.txt", "abc.txt", kSo + kNou + ".txt", kHyou + ".TXT"}));
  // "?" stands for one character, a double-byte one too.
  EXPECT_EQ(Names(files().FindEntries(In("?.txt"))), (std::vector<std::string>{"A.TXT", kHyou + ".TXT"}));
  EXPECT_EQ(Names(files().FindEntries(In("?" + kNou + ".txt"))), (std::vector<std::string>{kSo + kNou + ".txt"}));
  EXPECT_EQ(Names(files().FindEntries(In("AB.TXT"))), (std::vector<std::string>{"ab.txt"}));
  EXPECT_EQ(Names(files().FindEntries(In(kSo + "*"))), (std::vector<std::string>{kSo + kNou + ".txt"}));
}

TEST_P(FileSystemContract, JapaneseFolderNamesEndingInTheSeparatorsCodeAreWholeNames) {
  for (const std::string& name : {kSo, kSoftware + kHyou, kNou + "A", kBarTrail, kGame}) {
    const std::string folder = In(name);
    ASSERT_TRUE(files().CreateDirectory(folder)) << name;
    EXPECT_TRUE(files().DirectoryExists(folder)) << name;
    EXPECT_TRUE(files().DirectoryExists(folder + "\\")) << name;
    EXPECT_FALSE(files().CreateDirectory(folder)) << name;
    ASSERT_TRUE(files().CreateDirectory(folder + "\\" + kNou)) << name;
    EXPECT_EQ(files().WriteWholeFile(folder + "\\" + kNou + "\\" + kHyou + ".DAT", name), WriteResult::Ok) << name;
    EXPECT_EQ(files().ReadWholeFile(folder + "/" + kNou + "/" + kHyou + ".DAT").value_or("<none>"), name);
    EXPECT_EQ(Names(files().FindEntries(folder + "\\" + kNou + "\\*.*")),
              (std::vector<std::string>{".", "..", kHyou + ".DAT"}))
        << name;
  }
  // The name is not cut at its trail byte: no folder named by the lead byte alone appeared.
  EXPECT_EQ(Names(files().FindEntries(In("*.*"))),
            (std::vector<std::string>{".", "..", kGame, kSo, kSoftware + kHyou, kBarTrail, kNou + "A"}));
  // One level at a time: a folder whose parent is missing is not created.
  EXPECT_FALSE(files().CreateDirectory(In(kHyou + "\\" + kNou)));
  EXPECT_FALSE(files().DirectoryExists(In(kHyou)));
}

TEST_P(FileSystemContract, SlashesSeparateFoldersAsBackslashesDo) {
  const std::string slashed = scratch + "/" + kSo + "/x";
  ASSERT_TRUE(files().CreateDirectory(scratch + "/" + kSo));
  ASSERT_TRUE(files().CreateDirectory(slashed));
  EXPECT_TRUE(files().DirectoryExists(In(kSo + "\\x")));
  EXPECT_EQ(files().WriteWholeFile(slashed + "/a.txt", "a"), WriteResult::Ok);
  EXPECT_EQ(Names(files().FindEntries(slashed + "/*.txt")), (std::vector<std::string>{"a.txt"}));
  EXPECT_TRUE(files().DeleteFile(In(kSo + "\\x\\a.txt")));
  EXPECT_TRUE(files().RemoveDirectory(slashed + "/"));
  EXPECT_FALSE(files().DirectoryExists(In(kSo + "\\x")));
  std::string root = scratch.substr(0, 2) + "/";
  EXPECT_EQ(files().GetDriveType(root), DriveType::Fixed);
}

TEST_P(FileSystemContract, CopyReplacesAPlainFileAndTheAttributeCallReachesOneInTheWay) {
  const std::string from = In("from.txt");
  files().WriteWholeFile(from, "new");
  files().WriteWholeFile(In("plain.txt"), "old");
  EXPECT_TRUE(files().CopyFile(from, In("plain.txt")));
  EXPECT_EQ(files().ReadWholeFile(In("plain.txt")).value_or("<none>"), "new");
  EXPECT_EQ(AttributesOf(files(), scratch, "plain.txt"), kAttrArchive);
  EXPECT_TRUE(files().FileExists(from));
  EXPECT_FALSE(files().CopyFile(In("absent.txt"), In("plain.txt")));
  EXPECT_FALSE(files().CopyFile(from, In("no-folder\\to.txt")));

  // Windows refuses to copy onto a read-only or hidden file and leaves it as it was. Wine run by
  // root replaces it and keeps the old file's attributes. Either way the copy's attributes may
  // not be taken for the source's, and the attribute call still reaches the file.
  for (const std::uint32_t attribute : {kAttrReadOnly, kAttrHidden}) {
    const std::string name = "blocked" + std::to_string(attribute) + ".txt";
    files().WriteWholeFile(In(name), "old");
    ASSERT_TRUE(files().SetAttributes(In(name), attribute | kAttrArchive));
    const bool replaced = files().CopyFile(from, In(name));
    EXPECT_EQ(files().ReadWholeFile(In(name)).value_or("<none>"), replaced ? "new" : "old") << attribute;
    if (!replaced) {
      EXPECT_EQ(AttributesOf(files(), scratch, name), attribute | kAttrArchive);
    }
    EXPECT_TRUE(files().SetAttributes(In(name), kAttrArchive));
    EXPECT_EQ(AttributesOf(files(), scratch, name), kAttrArchive);
    EXPECT_TRUE(files().CopyFile(from, In(name))) << attribute;
    EXPECT_EQ(files().ReadWholeFile(In(name)).value_or("<none>"), "new") << attribute;
  }
  // A copy onto no file takes its source's attributes.
  files().SetAttributes(from, kAttrReadOnly | kAttrArchive);
  EXPECT_TRUE(files().CopyFile(from, In("copy.txt")));
  EXPECT_EQ(AttributesOf(files(), scratch, "copy.txt"), kAttrReadOnly | kAttrArchive);
  files().SetAttributes(from, kAttrArchive);
  files().SetAttributes(In("copy.txt"), kAttrArchive);
}

TEST_P(FileSystemContract, DeletionRefusesReadOnlyFilesFoldersAndFullFolders) {
  files().WriteWholeFile(In("ro.txt"), "x");
  files().SetAttributes(In("ro.txt"), kAttrReadOnly);
  EXPECT_FALSE(files().DeleteFile(In("ro.txt")));
  EXPECT_TRUE(files().FileExists(In("ro.txt")));
  files().SetAttributes(In("ro.txt"), kAttrArchive);
  EXPECT_TRUE(files().DeleteFile(In("ro.txt")));
  EXPECT_FALSE(files().DeleteFile(In("ro.txt")));

  const std::string folder = In(kSoftware + kHyou);
  ASSERT_TRUE(files().CreateDirectory(folder));
  EXPECT_FALSE(files().DeleteFile(folder));
  files().WriteWholeFile(folder + "\\keep.txt", "k");
  EXPECT_FALSE(files().RemoveDirectory(folder));
  EXPECT_TRUE(files().SetCurrentDirectory(folder));
  EXPECT_TRUE(files().DeleteFile("keep.txt"));  // relative to the working folder
  EXPECT_TRUE(files().SetCurrentDirectory(scratch));
  EXPECT_FALSE(files().SetCurrentDirectory(In("nothing")));
  EXPECT_TRUE(files().RemoveDirectory(kSoftware + kHyou));  // relative again
  EXPECT_FALSE(files().DirectoryExists(folder));
  EXPECT_FALSE(files().RemoveDirectory(folder));
}

TEST_P(FileSystemContract, ExistenceTellsFilesFromFolders) {
  files().WriteWholeFile(In("file.txt"), "x");
  EXPECT_TRUE(files().FileExists(In("file.txt")));
  EXPECT_FALSE(files().DirectoryExists(In("file.txt")));
  EXPECT_TRUE(files().DirectoryExists(scratch));
  EXPECT_TRUE(files().DirectoryExists(scratch + "\\"));
  EXPECT_FALSE(files().FileExists(scratch));
  EXPECT_FALSE(files().DirectoryExists(In("nothing")));
  EXPECT_FALSE(files().FileExists(In("nothing")));
}

TEST_P(FileSystemContract, PathsUpToTheLimitWorkAndLongerOnesFail) {
  // A full path may hold 259 characters; the limit counts characters, not bytes, so a name of
  // double-byte characters takes no more room than one of single-byte ones.
  const std::size_t room = 259 - (scratch.size() + 1);
  ASSERT_LT(room, 255u);
  EXPECT_EQ(files().WriteWholeFile(In(std::string(room, 'a')), "x"), WriteResult::Ok);
  // Folders of at most 80 characters each (Wine keeps names as UTF-8, at most 255 bytes on Linux).
  std::string path = scratch;
  std::size_t left = room + 1;
  while (left > 82) {
    path += "\\" + Repeat(kHyou, 80);
    ASSERT_TRUE(files().CreateDirectory(path));
    left -= 81;
  }
  const std::string name = Repeat(kHyou, left - 1);
  EXPECT_EQ(files().WriteWholeFile(path + "\\" + name, "x"), WriteResult::Ok) << path.size() + 1 + name.size();
  EXPECT_EQ(Names(files().FindEntries(path + "\\" + name)), std::vector<std::string>{name});

  const std::string tooLong = In(std::string(room + 40, 'b'));
  EXPECT_EQ(files().WriteWholeFile(tooLong, "x"), WriteResult::CannotCreate);
  EXPECT_FALSE(files().CreateDirectory(tooLong));
  EXPECT_FALSE(files().FileExists(tooLong));
}

TEST_P(FileSystemContract, DrivesFreeSpaceAndShortNames) {
  const std::string root = scratch.substr(0, 3);
  EXPECT_EQ(files().GetDriveType(root), DriveType::Fixed);
  EXPECT_GT(files().FreeBytes(root).value_or(0), 0);
  EXPECT_EQ(files().GetDriveType(machine->MissingDriveRoot()), DriveType::NoRootDir);
  EXPECT_FALSE(files().FreeBytes(machine->MissingDriveRoot()));

  const std::string longName = In("A Folder With A Long Name");
  ASSERT_TRUE(files().CreateDirectory(longName));
  const std::optional<std::string> shortName = files().ShortPath(longName);
  ASSERT_TRUE(shortName.has_value());
  EXPECT_EQ(shortName->find(' '), std::string::npos);
  EXPECT_TRUE(files().DirectoryExists(*shortName));
  EXPECT_FALSE(files().ShortPath(In("not-there")).has_value());
}

INSTANTIATE_TEST_SUITE_P(Machines, FileSystemContract, ::testing::ValuesIn(ContractMachines()), PrintMachineKind);

}  // namespace
}  // namespace setup::contract
