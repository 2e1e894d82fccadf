// Symbols read back: symbol files and listings (also those the build wrote for the samples), every
// bad line reported with nothing loaded, and the symbols kept beside the memory image.
#include <filesystem>
#include <fstream>
#include <sstream>

#include "AsmOutput.h"
#include "AsmTestSupport.h"
#include "SymbolFiles.h"
#include "TestTempDir.h"

namespace {

// "NAME VALUE L|V" per symbol, in the table's order.
std::string Table(const TSymbolTable& t) {
  std::ostringstream out;
  for (const TSymbol& s : t.Symbols()) out << s.Name << ' ' << std::oct << s.Value << (s.Kind == skLabel ? " L" : " V") << '\n';
  return out.str();
}

std::string Errors(const TSymbolRead& r) {
  std::string text;
  for (const TSourceError& e : r.Errors) text += e.Text() + "\n";
  return text;
}

std::string ReadFile(const std::string& name) {
  std::ifstream in(name, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

void WriteFile(const std::string& name, const std::string& text) { std::ofstream(name, std::ios::binary) << text; }

// A listing in DG's layout, as the assembler writes it, with the symbols at its end.
const char* const Listing =
    "        000100          .LOC 100\n"
    "                START:\n"
    "  00100 063610          SKPDN TTI\n"
    "\n"
    "  00101 000100  LOOP:   JMP .-1\n"
    "  00102 045517  MSG:    .TXT /OK/\n"
    "  00103 000000\n"
    "        000005  N = 5\n"
    "U 00104                 LDA 0,NONE\n"
    "*** U: undefined symbol NONE\n"
    "        000100          .END START\n"
    "\n"
    "LOOP 000101\n"
    "MSG 000102\n"
    "N 000005\n"
    "START 000100\n";

TEST(SymbolFiles, GoodFilesAndListings) {
  struct TCase {
    const char* Text;
    const char* Symbols;
  } cases[] = {
      {"LOOP 000103\nSTART 000101\n", "LOOP 103 L\nSTART 101 L\n"},
      // CR LF and CR, tabs, blanks at the ends, blank lines, fewer digits, lower case
      {"  b\t177777  \r\n\r\na 1\rc.d 0", "a 1 L\nb 177777 L\nc.d 0 L\n"},
      // Several pairs on a line; "=" marks a value
      {"A 000001 = B 000002\nC 3 =\n", "A 1 V\nB 2 L\nC 3 V\n"},
      // One name twice with one value: COUNTER1 and COUNTER2 are one name
      {"COUNTER1 5\nCOUNTER2 5\nX 1\nX 1\n", "COUNTER1 5 L\nX 1 L\n"},
      {"", ""},
      {"\n \n", ""},
      // A listing: its labels are labels, its equates values; a page break before the symbols
      {Listing, "LOOP 101 L\nMSG 102 L\nN 5 V\nSTART 100 L\n"},
      {"  00100 063610  GO: SKPDN TTI\n\fGO 000100 X 000007\n", "GO 100 L\nX 7 V\n"},
  };
  for (const TCase& c : cases) {
    const TSymbolRead r = ReadSymbolText("s.sym", c.Text);
    EXPECT_TRUE(r.Ok()) << c.Text << '\n' << Errors(r);
    EXPECT_EQ(Table(r.Symbols), c.Symbols) << c.Text;
  }
}

TEST(SymbolFiles, EveryBadLineIsReportedAndNothingLoaded) {
  struct TCase {
    const char* Text;
    const char* Errors;
  } cases[] = {
      {"A 000001\n1X 000002\n",
       "s.sym:2: 1X is not a symbol name (letters, digits and ., starting with a letter or .); a line holds a name "
       "and its value in octal\n"},
      {"A 1\nB\n", "s.sym:2: the value of B is missing\n"},
      {"A 8\nB 1000000\nC 277777\nD -1\n",
       "s.sym:1: the value 8 of A is not a number of up to 6 octal digits (0 to 177777)\n"
       "s.sym:2: the value 1000000 of B is not a number of up to 6 octal digits (0 to 177777)\n"
       "s.sym:3: the value 277777 of C is not a number of up to 6 octal digits (0 to 177777)\n"
       "s.sym:4: the value -1 of D is not a number of up to 6 octal digits (0 to 177777)\n"},
      {"A 1\nB 2\na 3\n", "s.sym:3: a is defined twice with different values (000001 on line 1 and 000003)\n"},
      {"A 1 B\n", "s.sym:1: the value of B is missing\n"},
      {"A 1 = =\n",
       "s.sym:1: = is not a symbol name (letters, digits and ., starting with a letter or .); a line holds a name "
       "and its value in octal\n"},
      // A listing of a program without symbols, and one whose symbols are spoilt
      {"        000100          .LOC 100\n\n  00100 063077          HALT\n",
       "s.sym: the listing has no symbols after its last line\n"},
      {"  00100 063077  GO: HALT\n\nGO 000100\nJUNK\n", "s.sym:4: the value of JUNK is missing\n"},
  };
  for (const TCase& c : cases) {
    const TSymbolRead r = ReadSymbolText("s.sym", c.Text);
    EXPECT_EQ(Errors(r), c.Errors) << c.Text;
    EXPECT_TRUE(r.Symbols.Empty()) << c.Text;
  }
}

TEST(SymbolFiles, MissingAndUnreadableFiles) {
  TTempDir dir;
  EXPECT_EQ(Errors(ReadSymbolFile(dir / "none.sym")), dir / "none.sym" + ": file not found\n");
  EXPECT_EQ(Errors(ReadSymbolFile(dir.Path())), dir.Path() + ": is a folder, not a symbol file\n");
}

// What the build wrote for the samples reads back as the symbols of their assembly: the symbol
// file (every name a label: the file does not say) and the listing (with the kinds).
TEST(SymbolFiles, TheSamplesSymbolFilesAndListingsReadBack) {
  for (const char* sample : {"hello", "binloader", "lamps", "echo"}) {
    SCOPED_TRACE(sample);
    TAsmSource source;
    std::string error;
    ASSERT_TRUE(ReadAsmSource(std::string(CORVANE_SOURCE_DIR "/samples/") + sample + ".sr", source, error)) << error;
    const TAsmProgram p = Assemble({source});
    ASSERT_TRUE(p.Ok()) << ErrorLines(p);
    ASSERT_FALSE(p.Symbols.Empty());
    const std::string built = std::string(CORVANE_BINARY_DIR "/samples/") + sample;

    const TSymbolRead listed = ReadSymbolFile(built + ".lst");
    EXPECT_TRUE(listed.Ok()) << Errors(listed);
    EXPECT_EQ(Table(listed.Symbols), Table(p.Symbols));

    const TSymbolRead file = ReadSymbolFile(built + ".sym");
    EXPECT_TRUE(file.Ok()) << Errors(file);
    std::vector<TSymbol> labels = p.Symbols.Symbols();
    for (TSymbol& s : labels) s.Kind = skLabel;
    EXPECT_EQ(Table(file.Symbols), Table(TSymbolTable(labels)));
  }
}

TEST(SymbolsBesideImage, KeptWholeAndBackWithTheirKinds) {
  TTempDir dir;
  const std::string image = dir / "autodump.dmp";
  EXPECT_EQ(SymbolsBesideImage(image), dir / "autodump.sym");
  EXPECT_EQ(SymbolsBesideImage("image"), "image.sym");

  // No file yet: no symbols, no error.
  TSymbolRead none = LoadSymbolsBeside(image);
  EXPECT_TRUE(none.Ok());
  EXPECT_TRUE(none.Symbols.Empty());

  const TSymbolTable symbols({{"START", 0100, skLabel}, {"N", 5, skValue}, {"Loop", 0101, skLabel}});
  std::string error;
  ASSERT_TRUE(SaveSymbolsBeside(image, symbols, error)) << error;
  EXPECT_EQ(ReadFile(dir / "autodump.sym"), "Loop 000101\nN 000005 =\nSTART 000100\n");
  EXPECT_EQ(dir.FileCount(), 1u);  // no temporary file left
  const TSymbolRead back = LoadSymbolsBeside(image);
  EXPECT_TRUE(back.Ok()) << Errors(back);
  EXPECT_EQ(Table(back.Symbols), Table(symbols));

  // A spoilt file is reported under its own name.
  WriteFile(dir / "autodump.sym", "START 000100\nN\n");
  EXPECT_EQ(Errors(LoadSymbolsBeside(image)), dir / "autodump.sym" + ":2: the value of N is missing\n");

  // No symbols: the file goes, so that none come back with the next image.
  ASSERT_TRUE(SaveSymbolsBeside(image, TSymbolTable(), error)) << error;
  EXPECT_FALSE(std::filesystem::exists(dir / "autodump.sym"));
  EXPECT_TRUE(SaveSymbolsBeside(image, TSymbolTable(), error)) << error;
}

TEST(SymbolsBesideImage, AFailedSaveKeepsTheOldFile) {
  TTempDir dir;
  std::filesystem::create_directories(dir / "image.sym");  // a folder where the file would go
  std::string error;
  EXPECT_FALSE(SaveSymbolsBeside(dir / "image.dmp", TSymbolTable({{"A", 1, skLabel}}), error));
  EXPECT_NE(error.find(dir / "image.sym"), std::string::npos) << error;
  EXPECT_TRUE(std::filesystem::is_directory(dir / "image.sym"));
  // A folder is not removed for want of symbols either.
  EXPECT_TRUE(SaveSymbolsBeside(dir / "image.dmp", TSymbolTable(), error)) << error;
  EXPECT_TRUE(std::filesystem::is_directory(dir / "image.sym"));
}

}  // namespace
