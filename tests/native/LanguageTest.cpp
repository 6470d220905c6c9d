// Language files: the reader against the profile reader it stands in for, encodings,
// hostile files, the message table, the walk over the forms, and the shipped files.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "app/Form1.h"
#include "chrome/frmAbout.h"
#include "platform/Utf8.h"
#include "platform/sim/SimDesktop.h"
#include "platform/sim/SimDesktopStyle.h"
#include "platform/sim/SimDialogs.h"
#include "platform/sim/SimFiles.h"
#include "platform/sim/SimForms.h"
#include "platform/sim/SimRegistry.h"
#include "platform/sim/SimSystem.h"
#include "settings/Language.h"
#include "settings/Messages.h"
#include "tests/common/PatternText.h"
#include "tests/common/ShippedLanguages.h"
#include "tests/native/ProgramHarness.h"
#include "tray/frmMenus.h"

namespace pellmark {
namespace {

using testcases::LoadShippedMessages;
using testcases::PutShippedLanguage;
using testcases::ShippedLanguageBytes;

constexpr const char* kPath = "C:\\pm\\Languages\\Test.txt";

LanguageFile ReadText(sim::SimFiles& files, const std::string& bytes,
                      std::string_view language = "English") {
    files.files[kPath] = bytes;
    return LanguageFile::Read(files, kPath, language);
}

// The bytes of `text` in UTF-16 after its byte-order mark.
std::string Utf16(const std::u16string& text, bool bigEndian) {
    std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (const char16_t unit : text) {
        const char high = static_cast<char>(unit >> 8);
        const char low = static_cast<char>(unit & 0xFF);
        bytes += bigEndian ? high : low;
        bytes += bigEndian ? low : high;
    }
    return bytes;
}

// Every menu item of the form, submenus included.
void ForEachMenuItem(const forms::Form& form,
                     const std::function<void(const forms::MenuItem&)>& visit) {
    const std::function<void(const forms::MenuItem&)> walk = [&](const forms::MenuItem& item) {
        visit(item);
        for (const auto& child : item.Items()) {
            walk(*child);
        }
    };
    for (const auto& menu : form.Menus()) {
        walk(*menu);
    }
}

// The profile reader of the in-memory files behaves as GetPrivateProfileString does (the
// same cases run against Windows under Wine); the language file must answer every key as
// it does.
TEST(LanguageFileTest, AnswersEveryKeyAsTheProfileReader) {
    const std::vector<std::string> contents = {
        "top=before any section\r\n[English]\r\n0900 = First message  \r\n"
        "  Indented\t=\tvalue with  inner  spaces\r\nQuoted=\"  kept spaces  \"\r\n"
        "Single='x'\r\nZed=last letter\r\nUnbalanced=\"abc\r\nLone=\"\r\nEmpty=\r\nNoEquals\r\n"
        "NoEquals=later\r\nDup=first\r\ndup=second\r\n[Next]\r\nDup=third\nLast=no line end",
        "[english]\nA=1\n[Other]\nB=2\n[ENGLISH]\nA=again\nC=3",  // only the first section
        "[Eng\nA=outside\n[English] trailing words\nA=inside\nB=a=b=c\n  =no key\n",
        "[English\nA=header without its bracket\n",
        "\n\n\r\n[English]\r\r\nA=\t\r\nB=  'quoted'  \r\n\"C\"=quoted key\r\n",
        "",
        "[English]",
    };
    const std::vector<std::string> keys = {
        "0900", "indented", "Quoted", "Single", "Unbalanced", "Lone",  "Empty",   "NoEquals", "Dup",
        "Last", "top",      "A",      "B",      "C",          "\"C\"", "Missing", "zED"};
    sim::SimFiles files;
    for (const std::string& content : contents) {
        const LanguageFile file = ReadText(files, content);
        for (const std::string& key : keys) {
            EXPECT_EQ(file.Text(key), files.ReadProfileString("English", key, kPath))
                << "key " << key << " in:\n"
                << content;
        }
    }
    // A missing file or section: every text is empty, and nothing is said.
    EXPECT_EQ(LanguageFile::Read(files, "C:\\pm\\Languages\\Gone.txt", "English").KeyCount(), 0u);
    EXPECT_EQ(ReadText(files, "[German]\nA=1\n").Text("A"), "");
}

TEST(LanguageFileTest, ReadsEachEncodingAWindowsEditorWrites) {
    const std::string german = "Größe ändern";  // UTF-8 here
    const std::u16string wide = u"[Deutsch]\r\n0001=Größe ändern\r\n0002=𝄞 Noten\r\n";
    const std::pair<const char*, std::string> cases[] = {
        {"UTF-8 after a byte-order mark", "\xEF\xBB\xBF[Deutsch]\r\n0001=" + german + "\r\n"},
        {"UTF-8 without a mark", "[Deutsch]\r\n0001=" + german + "\r\n"},
        {"the ANSI code page",
         "[Deutsch]\r\n0001=Gr\xF6\xDF"
         "e \xE4ndern\r\n"},
        {"UTF-16 little-endian", Utf16(wide, false)},
        {"UTF-16 big-endian", Utf16(wide, true)}};
    sim::SimFiles files;
    for (const auto& [what, bytes] : cases) {
        const LanguageFile file = ReadText(files, bytes, "Deutsch");
        EXPECT_EQ(file.Text("0001"), german) << what;
    }
    EXPECT_EQ(ReadText(files, Utf16(wide, false), "Deutsch").Text("0002"), "𝄞 Noten");
    // A section name beyond ASCII matches in any encoding.
    EXPECT_EQ(ReadText(files,
                       "[Fran\xE7"
                       "ais]\n0001=Oui\n",
                       "Français")
                  .Text("0001"),
              "Oui");
    // A mark that lies: the bytes that are not UTF-8 show as replacement characters.
    EXPECT_EQ(ReadText(files,
                       "\xEF\xBB\xBF[X]\nA=a\xFF"
                       "b\n",
                       "X")
                  .Text("A"),
              "a\uFFFD"
              "b");
}

// A surrogate pair or a CR LF split by the reader's block boundary reads whole.
TEST(LanguageFileTest, TextSplitAcrossReadBlocksReadsWhole) {
    for (std::size_t padding = 16370; padding < 16390; ++padding) {
        const std::u16string wide = u"[X]\r\nP=" + std::u16string(padding, u'p') + u"\r\nA=𝄞\r\n";
        sim::SimFiles files;
        EXPECT_EQ(ReadText(files, Utf16(wide, false), "X").Text("A"), "𝄞") << padding;
    }
}

TEST(LanguageFileTest, HostileFilesStayBounded) {
    sim::SimFiles files;
    // 100,000 keys: the first ones read, the table stays within its bound, and a section
    // that follows them still ends the language's.
    std::string many = "[English]\r\n";
    for (int i = 0; i < 100000; ++i) {
        many += "K" + std::to_string(i) + "=value " + std::to_string(i) + "\r\n";
    }
    const LanguageFile big = ReadText(files, many);
    EXPECT_EQ(big.KeyCount(), LanguageFile::kMaxKeys);
    EXPECT_EQ(big.Text("K0"), "value 0");
    EXPECT_EQ(big.Text("k4095"), "value 4095");
    EXPECT_EQ(big.Text("K99999"), "");

    // Lines of 10,000 characters: a long key is nobody's key, a long value is cut to 254
    // characters without splitting one (a clef needs two units: the 254th and 255th).
    const std::string longLine(10000, 'x');
    std::string umlauts;
    std::string clefs(253, 'c');
    for (int i = 0; i < 300; ++i) {
        umlauts += "ä";
        clefs += "𝄞";
    }
    const LanguageFile wide = ReadText(files, "[English]\n" + longLine + "=a\nV=" + longLine +
                                                  "\nU=" + umlauts + "\nC=" + clefs + "\nQ=\"" +
                                                  std::string(254, 'q') + "\"\nAfter=still read\n");
    EXPECT_EQ(wide.Text("V"), std::string(254, 'x'));
    EXPECT_EQ(platform::Utf8ToUtf16(wide.Text("U")), std::u16string(254, u'ä'));
    EXPECT_EQ(wide.Text("C"), std::string(253, 'c'));
    EXPECT_EQ(wide.Text("Q"), std::string(254, 'q'));
    EXPECT_EQ(wide.Text("After"), "still read");
    EXPECT_EQ(wide.KeyCount(), 5u);

    // No line ends at all: one line, of which only the start is looked at.
    const LanguageFile oneLine = ReadText(files, "[English]" + std::string(5'000'000, '='));
    EXPECT_EQ(oneLine.KeyCount(), 0u);

    EXPECT_EQ(files.openReaders, 0);
}

TEST(LanguageMessagesTest, LoadsEveryMessageOfTheLanguageAndEmptiesTheRest) {
    sim::SimFiles files;
    LoadLanguageMessages(files, "German", PutShippedLanguage(files, "C:\\pm", "German"));
    EXPECT_EQ(MessageText("0939"), "Möchten Sie Pellmark wirklich beenden?");
    EXPECT_EQ(MessageText("0900"), "Symbole");
    EXPECT_EQ(MessageText("0910"), "Symbolpositionen");

    LoadLanguageMessages(files, "English", PutShippedLanguage(files, "C:\\pm", "English"));
    EXPECT_EQ(MessageText("0939"), "Are you sure you want to quit Pellmark?");
    EXPECT_EQ(MessageText("0940"),
              "The help file cannot be found. It belongs in the Help folder beside Pellmark; "
              "unpacking Pellmark again puts it back.");
    EXPECT_EQ(MessageText("0931"), "A pattern name may not contain any of these characters:");
    EXPECT_EQ(MessageText("0101"), "");  // a control's key, not a message

    // A file without the section: no message at all, and no message box about it.
    files.files[kPath] = "[German]\n0939=Beenden?\n";
    LoadLanguageMessages(files, "Klingon", kPath);
    for (const std::string_view key : LanguageMessages::kKeys) {
        EXPECT_EQ(MessageText(key), "") << key;
    }
    LoadShippedMessages("English");
}

// What each control shows, by name.
std::map<std::string, std::string> Texts(const forms::Form& form) {
    std::map<std::string, std::string> texts;
    for (const auto& control : form.Controls()) {
        const std::string& name = control->Name();
        texts[name + ".Caption"] = control->Caption();
        texts[name + ".ToolTip"] = control->ToolTip();
        if (control->Kind() == forms::ControlKind::TextBox) {
            texts[name + ".Text"] = static_cast<const forms::TextBox&>(*control).Text();
        }
        if (control->Kind() == forms::ControlKind::ListView) {
            const auto& columns = static_cast<const forms::ListView&>(*control).Columns();
            for (std::size_t n = 0; n < columns.size(); ++n) {
                texts[name + ".Column" + std::to_string(n + 1)] = columns[n].caption;
            }
        }
    }
    ForEachMenuItem(form,
                    [&](const forms::MenuItem& item) { texts[item.ElementKey()] = item.caption; });
    return texts;
}

class LanguageFormsTest : public ::testing::Test, public testcases::ProgramHarness {
  protected:
    // The main window made, not loaded: the captions it is made with are what is read.
    LanguageFormsTest() {
        PutShippedLanguage(files, services.programFolder, "German");
        form = std::make_unique<Form1>(services, menus, about);
    }

    LanguageFile Read(std::string_view language) {
        return LanguageFile::Read(files, LanguageFilePath(services.programFolder, language),
                                  language);
    }
};

// The captions the forms are made with are the English ones: applying English changes no
// text of the main window or the menus, and no tool tip. Another language changes them all.
TEST_F(LanguageFormsTest, EnglishGivesTheCaptionsTheFormsAreMadeWithAndAnotherTranslatesThem) {
    const auto mainBefore = Texts(*form);
    const auto menusBefore = Texts(menus);
    ApplyLanguage(Read("English"), {.mainWindow = form.get(), .menuForm = &menus});
    EXPECT_EQ(Texts(*form), mainBefore);
    EXPECT_EQ(Texts(menus), menusBefore);

    const std::string deleteCaption = menus.mnuSaveList_Delete().caption;
    ApplyLanguage(Read("German"), {.mainWindow = form.get(), .menuForm = &menus});
    EXPECT_EQ(form->patterns.cmdSave.Caption(), "Speichern");
    EXPECT_EQ(form->patterns.lblPatterns.Caption(), "Gespeicherte Muster:");
    EXPECT_EQ(form->help.cmdDone.Caption(), "Fertig");
    EXPECT_EQ(form->introduction.lblIntroItem[4]->Caption(),
              "„Patterns“ links: Ihre gespeicherten Muster.");
    EXPECT_EQ(MessageText("0910"), "Symbolpositionen");
    int labels = 0;
    for (const auto& control : form->Controls()) {
        if (control->Kind() == forms::ControlKind::Label && !control->Tag.empty()) {
            ++labels;
            EXPECT_FALSE(control->Caption().empty()) << control->Name();
            EXPECT_EQ(control->ToolTip(), control->Caption()) << control->Name();
        }
    }
    EXPECT_GE(labels, 10);
    // The markers of the preview carry the icons' captions as tips: they have no key.
    EXPECT_EQ(form->patterns.lblPrevIcon[0]->ToolTip(), "");
    EXPECT_EQ(menus.mnuSaveList_Delete().caption, deleteCaption);  // no index: kept
}

// A test form with one control of each kind and a menu tree like the tray menu's.
class KindsForm final : public forms::Form {
  public:
    explicit KindsForm(forms::Backend& backend) : Form(backend, "frmKinds") {
        for (forms::Control* control : std::initializer_list<forms::Control*>{
                 &label, &button, &check, &option, &frame, &text}) {
            control->SetCaption("design");
        }
        label.Tag = "0001";
        button.Tag = "0102";
        check.Tag = "0501";
        option.Tag = "4011";
        frame.Tag = "4010";
        text.Tag = "0010";
        untagged.SetCaption("kept");
        picture.Tag = "0001";  // a picture box has no text to translate
        picture.SetCaption("picture");
        list.Tag = "020";
        list.SetColumns({{"one", 40}, {"two", 80}});
        text.Change = [this] {
            if (throwOnChange) {
                throw std::runtime_error("change failed");
            }
        };
        forms::MenuItem& tray = AddMenu("mnuSysTrayIcon");
        tray.caption = "top";
        forms::MenuItem& restore = tray.Add("mnuRestorePattern", 2201, "&Restore pattern");
        restore.Add("mnuPattern", 0, "Work");
        restore.Add("mnuPattern", 1, "Home");
        tray.Add("dsh3", 2203, "-");
        tray.Add("dsh4", 2207, "-Screen saver");
        tray.Add("mnuShowDesktop", 2206, "#Show Desktop");
        tray.Add("mnuLoose", -1, "not in an array");
    }

    bool throwOnChange = false;
    forms::Label& label = Add<forms::Label>("lblOne");
    forms::Label& untagged = Add<forms::Label>("lblUntagged");
    forms::Button& button = Add<forms::Button>("cmdOne");
    forms::CheckBox& check = Add<forms::CheckBox>("chkOne");
    forms::OptionButton& option = Add<forms::OptionButton>("optOne");
    forms::Frame& frame = Add<forms::Frame>("Frame1");
    forms::TextBox& text = Add<forms::TextBox>("txtOne");
    forms::Picture& picture = Add<forms::Picture>("picOne");
    forms::ListView& list = Add<forms::ListView>("ListView1");
};

TEST_F(LanguageFormsTest, EachKindOfControlTakesItsTextByItsRule) {
    KindsForm kinds(forms);
    kinds.throwOnChange = true;  // the text box fails; the walk goes on past it
    TranslateForm(kinds, Read("German"));
    EXPECT_EQ(kinds.label.Caption(), "Willkommen bei Pellmark");
    EXPECT_EQ(kinds.label.ToolTip(), "Willkommen bei Pellmark");
    EXPECT_EQ(kinds.untagged.Caption(), "kept");
    EXPECT_EQ(kinds.untagged.ToolTip(), "");
    EXPECT_EQ(kinds.button.Caption(), "Speichern");
    EXPECT_EQ(kinds.check.Caption(), "&Desktop ausblenden");
    EXPECT_EQ(kinds.option.Caption(), "Zentriert");
    EXPECT_EQ(kinds.frame.Caption(), "Darstellung");
    EXPECT_EQ(kinds.picture.Caption(), "picture");
    ASSERT_EQ(kinds.list.Columns().size(), 2u);
    EXPECT_EQ(kinds.list.Columns()[0].caption, "Symbol");  // 0201
    EXPECT_EQ(kinds.list.Columns()[1].caption, "Name");    // 0202
    EXPECT_EQ(kinds.list.Columns()[1].width, 80);
    EXPECT_EQ(Texts(kinds).at("mnuSysTrayIcon"), "top");
    EXPECT_EQ(Texts(kinds).at("mnuRestorePattern(2201)"), "Muster &wiederherstellen");
    EXPECT_EQ(Texts(kinds).at("mnuPattern(0)"), "Work");
    EXPECT_EQ(Texts(kinds).at("mnuPattern(1)"), "Home");
    EXPECT_EQ(Texts(kinds).at("dsh4(2207)"), "-Bildschirmschoner");
    EXPECT_EQ(Texts(kinds).at("mnuShowDesktop(2206)"), "#Desktop anzeigen");
    EXPECT_EQ(Texts(kinds).at("mnuLoose"), "not in an array");

    kinds.throwOnChange = false;
    TranslateForm(kinds, Read("English"));
    EXPECT_EQ(kinds.text.Text(), "Done");
    EXPECT_EQ(kinds.label.Caption(), "Welcome to Pellmark");
    EXPECT_EQ(kinds.label.ToolTip(), "Willkommen bei Pellmark");  // English leaves tips alone
    EXPECT_EQ(Texts(kinds).at("dsh4(2207)"), "-Screen saver");
    EXPECT_EQ(Texts(kinds).at("dsh3(2203)"), "-");

    // A key the file lacks empties its text, a separator's too.
    files.files[kPath] = "[Sparse]\n0001=Only this\n2207=-Only this\n";
    TranslateForm(kinds, LanguageFile::Read(files, kPath, "Sparse"));
    EXPECT_EQ(kinds.label.Caption(), "Only this");
    EXPECT_EQ(kinds.button.Caption(), "");
    EXPECT_EQ(kinds.list.Columns()[0].caption, "");
    EXPECT_EQ(Texts(kinds).at("dsh3(2203)"), "");
    EXPECT_EQ(Texts(kinds).at("dsh4(2207)"), "-Only this");
    EXPECT_EQ(Texts(kinds).at("mnuPattern(0)"), "Work");
}

// A language whose file cannot be read, or whose name is no plain file name (Windows opens
// "COM1.txt" in any folder as the serial port, and "..\\" leaves the folder), or whose file
// has no section of its name, speaks the English built into the program; nothing is said.
TEST_F(LanguageFormsTest, WithoutItsFileALanguageSpeaksTheBuiltInEnglish) {
    const std::string languages = "C:\\Pellmark\\Languages\\";
    files.devices.insert(languages + "COM1.txt");
    files.files[languages + "aux.backup.txt"] = "[aux.backup]\n0102=Device\n";
    files.files[languages + "..\\..\\outside.txt"] = "[..\\..\\outside]\n0102=Outside\n";
    files.files[languages + "Deutsch.txt"] = "[German]\n0102=Speichern\n";
    const std::string english = testcases::ShippedLanguageBytes("English");
    for (const char* name : {"Gone", "COM1", "aux.backup", "..\\..\\outside", "", "Deutsch"}) {
        ApplyLanguage(ReadLanguage(files, services.programFolder, name, english),
                      {.mainWindow = form.get(), .menuForm = &menus});
        EXPECT_EQ(form->patterns.cmdSave.Caption(), "Save") << name;
        EXPECT_EQ(form->introduction.Label2.Caption(), "Welcome to Pellmark") << name;
        EXPECT_EQ(MessageText("0910"), "Icon Positions") << name;
        EXPECT_EQ(form->introduction.Label2.ToolTip(), "") << name;
    }
    EXPECT_TRUE(dialogs.shown.empty());

    for (const char* plain : {"German", "Deutsch (Schweiz)", "COM10", "Console", "Auxiliary"}) {
        EXPECT_TRUE(IsPlainLanguageName(plain)) << plain;
    }
    for (const char* device : {"con", "PRN", "Nul.txt", "LPT9 .old", "COM\xC2\xB9", "CONIN$", "a/b",
                               "C:x", "x\\y", "what?"}) {
        EXPECT_FALSE(IsPlainLanguageName(device)) << device;
    }
}

// The options dialog loads when it first opens, not with the main window, in the language
// in use then; one applied while it is open reaches it at once.
TEST_F(LanguageFormsTest, TheOptionsDialogTakesTheLanguageInUseWhenItFirstOpens) {
    Setting("Language", "German");
    ASSERT_TRUE(Start());
    frmOptions& options = form->Options();
    EXPECT_FALSE(options.Loaded());
    options.Open();
    ASSERT_TRUE(options.Visible());
    EXPECT_EQ(options.Frame3.Caption(), "Programmstart");
    EXPECT_EQ(options.chkStartInSysTray.Caption(), "Im &Infobereich starten");
    form->UseLanguage("English");
    EXPECT_EQ(options.Frame3.Caption(), "Program startup");
}

TEST_F(LanguageFormsTest, ApplyLanguageGoesThroughTheFormsInItsOrder) {
    KindsForm options(forms);
    KindsForm picker(forms);
    std::vector<std::string> order;
    LanguageForms targets;
    targets.mainWindow = form.get();
    targets.messagesApplied = [&] {
        // The main window is translated and the messages are read by now.
        order.push_back("messages " + form->patterns.cmdLoad.Caption() + " " + MessageText("0900"));
    };
    targets.optionsDialog = [&] {
        order.push_back("options " + MessageText("0900"));
        return &options;
    };
    targets.menuForm = &menus;
    targets.iconiseMenus = [&] {
        order.push_back(std::string("iconise ") + (menus.Loaded() ? "loaded " : "unloaded ") +
                        options.button.Caption());
    };
    targets.wallpaperPicker = [&] {
        order.push_back("picker " + picker.button.Caption());
        return &picker;
    };
    ASSERT_FALSE(menus.Loaded());
    ApplyLanguage(Read("German"), targets);
    EXPECT_EQ(order, (std::vector<std::string>{"messages Laden Symbole", "options Symbole",
                                               "iconise loaded Speichern", "picker design"}));
    EXPECT_EQ(picker.button.Caption(), "Speichern");
    EXPECT_FALSE(menus.Visible());  // loaded hidden

    // Again while the program runs, as the options dialog's Apply does: the menu form is
    // loaded already and is only translated again.
    order.clear();
    ApplyLanguage(Read("English"), targets);
    EXPECT_EQ(order[2], "iconise loaded Save");
    EXPECT_EQ(form->patterns.cmdLoad.Caption(), "Load");
    EXPECT_EQ(MessageText("0900"), "icons");
}

// Every key of one shipped language is in the other, each text fits what Windows hands
// over, and the keys cover everything the program asks for.
TEST_F(LanguageFormsTest, ShippedLanguagesHoldTheSameKeysAndEveryKeyTheProgramReads) {
    const auto keysOf = [](const std::string& bytes) {
        std::set<std::string> keys;
        bool inSection = false;
        std::size_t start = 0;
        while (start < bytes.size()) {
            std::size_t end = bytes.find('\n', start);
            end = end == std::string::npos ? bytes.size() : end;
            const std::string line = bytes.substr(start, end - start);
            start = end + 1;
            if (line.find('[') != std::string::npos) {
                EXPECT_FALSE(inSection) << "one section only";
                inSection = true;
            } else if (inSection && line.find('=') != std::string::npos) {
                EXPECT_TRUE(keys.insert(line.substr(0, line.find('='))).second) << line;
            }
        }
        return keys;
    };
    const std::string english = ShippedLanguageBytes("English");
    const std::string german = ShippedLanguageBytes("German");
    ASSERT_FALSE(english.empty());
    EXPECT_TRUE(german.starts_with("\xEF\xBB\xBF")) << "UTF-8 with its mark, as Notepad reads it";
    const std::set<std::string> keys = keysOf(english);
    EXPECT_EQ(keysOf(german), keys);

    std::set<std::string> asked(LanguageMessages::kKeys.begin(), LanguageMessages::kKeys.end());
    for (const forms::Form* each : std::initializer_list<const forms::Form*>{form.get(), &menus}) {
        for (const auto& control : each->Controls()) {
            if (control->Kind() == forms::ControlKind::ListView) {
                const auto& list = static_cast<const forms::ListView&>(*control);
                for (std::size_t n = 1; n <= list.Columns().size(); ++n) {
                    asked.insert(control->Tag + std::to_string(n));
                }
            } else if (!control->Tag.empty()) {
                asked.insert(control->Tag);
            }
        }
        ForEachMenuItem(*each, [&](const forms::MenuItem& item) {
            if (item.index >= 0 && item.name != kUntranslatedMenu) {
                asked.insert(std::to_string(item.index));
            }
        });
    }
    for (const std::string& key : asked) {
        EXPECT_EQ(keys.count(key), 1u) << key << " is read but not in English.txt";
    }

    for (const std::string_view language : {"English", "German"}) {
        const LanguageFile file = Read(language);
        EXPECT_EQ(file.KeyCount(), keys.size()) << language;
        for (const std::string& key : keys) {
            // A text that fills the whole 254 characters was probably cut.
            EXPECT_LT(platform::Utf8ToUtf16(file.Text(key)).size(), LanguageFile::kMaxValueUnits)
                << language << " " << key;
        }
    }
}

// The icon count that the start-up's desktop read shows comes before the language: it is
// said again in the language's words, and so is a preview's.
TEST(LanguagePatternPageTest, TheIconCountIsSaidAgainInTheNewLanguage) {
    testcases::ProgramHarness program;
    program.desktop.icons = {{"A", 1, 1, 0}, {"B", 2, 2, 1}, {"C", 3, 3, 2}};
    program.AddPattern("Work",
                       testcases::PatternText(1024, 768, {{"A", "1", "1"}, {"B", "2", "2"}}));
    program.AddPattern("Bad", "not a pattern");
    ASSERT_TRUE(program.Start());
    PatternPage& page = program.form->patterns;
    LoadLanguageMessages(program.files, "German",
                         PutShippedLanguage(program.files, testcases::kProgramFolder, "German"));
    page.ShowTextsAgain();
    EXPECT_EQ(page.lblNoIcons.Caption(), "3 Symbole");

    page.List1.UserSelect(1);
    EXPECT_EQ(page.lblNoIcons.Caption(), "2 Symbole");
    LoadShippedMessages("English");
    page.ShowTextsAgain();
    EXPECT_EQ(page.lblNoIcons.Caption(), "2 icons");

    page.List1.UserSelect(0);
    ASSERT_EQ(page.lblNoIcons.Caption(), "Bad file");
    page.ShowTextsAgain();
    EXPECT_EQ(page.lblNoIcons.Caption(), "Bad file");
}

}  // namespace
}  // namespace pellmark
