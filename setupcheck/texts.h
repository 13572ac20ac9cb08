// setupcheck's texts: every sentence it prints, in English and in Japanese, in one table (one row
// per TextId) so that the two languages cannot drift apart; and Text, which holds a sentence with
// its arguments until it is printed, so that a finding is written in the reader's language.
#pragma once

#include <string>
#include <vector>

namespace setupcheck {

enum class Language { English, Japanese };

// A template's arguments are written {1} to {9}; each language may place them in its own order.
enum class TextId {
  // The report.
  Warning,
  Error,
  NoFindings,
  OneWarning,
  Warnings,
  OneError,
  Errors,
  WarningsAndErrors,
  // The command line.
  Usage,
  PlanNeedsWindowsFolder,
  // --to-sjis.
  CannotRead,
  CannotWrite,
  ConversionStopped,
  ByteNotUtf8,
  NoShiftJisForm,
  // Reading the image.
  NoSuchFolder,
  NoSuchCdFolder,
  NoScriptInFolder,
  CannotReadScript,
  NameNotShiftJis,
  SymbolicLink,
  BadImageName,
  // The dry run.
  DryRunShowsError,
  DryRunStops,
  DryRunDoesNotStart,
  AfterBox,
  AsPc9821,
  DefaultFolderRefused,
  RefusalText,
  // The script's encoding and form.
  SavedAsUtf8,
  LineNotShiftJis,
  MarkBeforeHeader,
  TextBeforeHeader,
  NoSetupSection,
  HiddenSectionOneEntry,
  HiddenSection,
  SectionNeverRead,
  MarkStartsFile,
  BeforeFirstSection,
  NoEqualsSign,
  GivenAgain,
  NulByte,
  // Keys and settings.
  ListKeyWithoutNumber,
  UnknownKey,
  DidYouMean,
  NoDesktopShortcut,
  NothingStarted,
  NotANumber,
  SizeTooLarge,
  SizeNegative,
  DirectXTooHigh,
  EmptyValueEndsList,
  AfterEmptyValue,
  ListEmpty,
  ListEndsEarly,
  ListKeyMisnumbered,
  NoTitle,
  NoRecordName,
  // List lines.
  StrayMacro,
  NoDestination,
  DestinationNotFullPath,
  TextAfterFields,
  TextAfterRegFields,
  UnknownRoot,
  ProtectedKey,
  UnknownRegKeyword,
  ValueBeforeOpen,
  LongNotANumber,
  CfgWithoutName,
  CfgLineTooLong,
  NoShortcutTarget,
  NoShortcutName,
  ShortcutOutsideTitle,
  RemoveWildcards,
  RemoveNotFullPath,
  // The image against the COPY list.
  NotCopied,
  KindHiddenSystem,
  KindHidden,
  KindSystem,
  KindNotPlain,
  MatchesNoFile,
  Source,
  Pc9821Source,
  ThatIsCopied,
  SizeTooSmall,
  SrcNotSet,
  SrcIsBackslash,
  ShortcutTargetNotInstalled,
  CopiedAgain,
  NothingCopied,
  NoCopyLine,
  NoSourceNamesFile,
  // The movie.
  MovieNotAvi,
  MovieCodec,
  MovieTooLarge,
  // The plan.
  PlanInstallation,
  PlanRefused,
  PlanStopped,
  PlanFilesCopied,
  PlanRegistry,
  PlanDefaultValue,
  PlanConfigFile,
  PlanUninstallRecord,
  PlanFileNotWritten,
  PlanFileBytes,
  PlanNoCrLf,
  PlanNoConfigFile,
  PlanShortcuts,
  PlanShortcut,

  Count  // not a text: the number of them
};

struct TextRow {
  TextId id;
  const char* english;
  const char* japanese;  // UTF-8
};

// The table's row of a text.
const TextRow& RowOf(TextId id);

// A sentence of the table with its arguments, or words that stand for themselves in every
// language (a key, a path, a number, a value from the script, the installer's own message).
class Text {
 public:
  // Implicit, so that arguments are written as they come: {check.Quote(value), std::to_string(n)}.
  Text() = default;
  Text(std::string literal) : literal_(std::move(literal)) {}
  Text(const char* literal) : literal_(literal) {}
  Text(TextId id, std::vector<Text> args = {}) : id_(id), args_(std::move(args)) {}

  // UTF-8; an argument that is itself a sentence is written in the same language.
  std::string In(Language language) const;

 private:
  TextId id_ = TextId::Count;  // Count: a literal
  std::string literal_;
  std::vector<Text> args_;
};

// The language a POSIX locale asks for: the first set and non-empty of LC_ALL, LC_MESSAGES and
// LANG decides, Japanese for "ja" and its variants ("ja_JP.UTF-8"), English for anything else.
Language LanguageOfLocale(const char* lcAll, const char* lcMessages, const char* lang);

}  // namespace setupcheck
