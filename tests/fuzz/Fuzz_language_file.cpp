// The language file (".cfg") on a memory file system: start-up reads the language from a file of
// any text, and a change of language rewrites the file as the same change does to the text in
// memory, keeping whatever else it holds; a language from the command line is never written.
// Input: a flags byte (bit 0: "/lang:" with the code on the command line, bit 1: portable, bit 2:
// a German platform), the code (a length byte and its bytes), then the file's text.
#include <string>

#include "AtomicFile.h"
#include "FuzzSupport.h"
#include "IniFile.h"
#include "Startup.h"
#include "TextUtils.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  TFuzzInput in(data, size);
  const std::uint8_t flags = in.Byte();
  const std::string code(in.Take(in.Byte()));
  const std::string_view text = in.Rest();
  const bool portable = flags & 2;
  const bool german = flags & 4;

  // Installed below the folder, with the maker folder the folder itself.
  const std::string& folder = FuzzFolder().Path();
  const std::string file = portable ? folder + "/prog/corvane.cfg" : folder + "/corvane.cfg";
  static const bool made = std::filesystem::create_directory(FuzzFolder() / "prog");
  FUZZ_CHECK(made);
  WriteFuzzFile(file, text);

  TStartupEnv env;
  if (flags & 1) env.Args.push_back("/lang:" + code);
  if (portable) env.Args.push_back("/p");
  env.ExePath = folder + "/prog/corvane";
  env.WorkingFolder = folder;
  env.LocaleFolder = folder + "/locale";
  env.Folders.AppData = folder;
  env.Env = [german](const std::string& name) { return german && name == "LANG" ? std::string("de_DE.UTF-8") : std::string(); };
  StartUp(folder, "", {}, env);
  const TStartupValues& v = StartupValues();
  FUZZ_CHECK(v.LanguageFile == file);

  TIniFile memory;
  memory.SetText(text);
  const std::string stored(Utf8Prefix(memory.ReadString("Language", "LangID", ""), 2));
  if (v.LanguageMaySave) FUZZ_CHECK(v.CurrentLanguage == (stored.empty() ? std::string(german ? "de" : "") : stored));
  else FUZZ_CHECK((flags & 1) && !v.CurrentLanguage.empty());

  FUZZ_CHECK(ChangeLanguage(code));
  std::string content;
  FUZZ_CHECK(ReadWholeFile(file, content));
  if (!v.LanguageMaySave) {
    FUZZ_CHECK(content == text);
    return 0;
  }
  memory.WriteString("Language", "LangID", Utf8Prefix(code, 2));
  FUZZ_CHECK(content == memory.Text());
  FUZZ_CHECK(TIniFile(file).ReadString("Language", "LangID", "\x01") == OneLine(Utf8Prefix(code, 2)));
  return 0;
}
