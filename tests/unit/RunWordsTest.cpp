#include "app/main/RunWords.h"

#include "journal/JournalFile.h"
#include "shred/ShredList.h"
#include "tests/unit/RecordingDisplay.h"
#include "tests/unit/TestSupport.h"

#include <gtest/gtest.h>

#include <iterator>

namespace {

using Texts = std::vector<std::wstring>;

// A real run over one file, told to the window's words: what each method's run reads as, from its start
// to the view's return to idle.
TEST(RunWords, EachMethodsRunReadsAsOnScreen) {
    struct Expected {
        Texts cycles;
        Texts patterns;
    };
    const Expected expected[] = {
        {{L"En cours...", L"1 sur 1", L" ", L""}, {L"Nombres aléatoires", L"", L""}},
        {{L"En cours...", L"1 sur 1", L" ", L""}, {L"00000000", L"", L""}},
        {{L"1 sur 2", L"2 sur 2", L" ", L""}, {L"00000000", L"Random(255)", L"", L""}},
        {{L"0 sur 3", L"1 sur 3", L"2 sur 3", L" ", L""}, {L"01010101", L"10101010", L"Random(255)", L"", L""}},
    };
    static_assert(std::size(expected) == kOverwriteMethods.size());
    for (size_t m = 0; m < kOverwriteMethods.size(); ++m) {
        const std::wstring label = kOverwriteMethods[m].label;
        test::TempFolder files(L"words-" + std::to_wstring(m));
        test::TempFolder config(L"words-config-" + std::to_wstring(m));
        test::WriteFile(files / L"a.bin", std::string(1000, 'x'));
        ShredList list;
        list.addPath(files / L"a.bin");
        JournalFile journal(config.path());
        test::RecordingDisplay display;
        RunWords words(display);
        win::StopToken control;
        const RunSummary summary = DestructionRun(list, {label, 1}, journal, words, control);
        EndDestructionRun(list, words, control);

        EXPECT_EQ(display.texts(RunText::Cycles), expected[m].cycles) << m;
        EXPECT_EQ(display.texts(RunText::Pattern), expected[m].patterns) << m;
        EXPECT_EQ(display.texts(RunText::Method), (Texts{label, L""}));
        EXPECT_EQ(display.texts(RunText::CurrentFile), (Texts{L"Fichier écrasé  :  a.bin", L"", L""}));
        EXPECT_EQ(display.texts(RunText::RepetitionsLabel),
                  (Texts{L"Écrasement...", L"Répétitions : 1", L"Répétitions :", L"Répétitions : "}));
        EXPECT_EQ(display.texts(RunText::Remaining), (Texts{L"0", L""}));
        EXPECT_EQ(display.bars(RunBar::Overall), (std::vector<int>{100, 0}));
        const Texts renames = display.texts(RunText::RenameCounter);
        ASSERT_EQ(renames.size(), 29u);
        EXPECT_EQ(renames[0], L"1/27");
        EXPECT_EQ(renames[26], L"27/27");
        EXPECT_EQ(display.lastBar(RunBar::NameWipe), 0);
        EXPECT_EQ(display.maxBar(RunBar::NameWipe), 27);

        const SummaryBox box = SummaryWords(summary);
        EXPECT_EQ(box.title, L"Destruction complète!");
        EXPECT_EQ(box.text,
                  L"Tous les fichiers sélectionnés ont été traités\r\rLeurs données ont été écrasées  (1 X "
                  L"Nombre de cycles )\rAlgorithme choisi : " +
                      label + L"\r\r");
        EXPECT_EQ(box.icon, static_cast<UINT>(MB_ICONINFORMATION));
    }
}

// The overall bar moves by whole entries, the count of those left with it: the window's drive of a run
// cannot be sure to see a step that lasts a moment, so the steps are proven here.
TEST(RunWords, TheOverallBarStepsByWholeEntries) {
    test::TempFolder files(L"words-three");
    test::TempFolder config(L"words-three-config");
    ShredList list;
    for (const wchar_t* name : {L"a.bin", L"b.bin", L"c.bin"}) {
        test::WriteFile(files / name, std::string(1000, 'x'));
        list.addPath(files / name);
    }
    JournalFile journal(config.path());
    test::RecordingDisplay display;
    RunWords words(display);
    win::StopToken control;
    DestructionRun(list, {kOverwriteMethods[1].label, 1}, journal, words, control);
    EndDestructionRun(list, words, control);
    EXPECT_EQ(display.bars(RunBar::Overall), (std::vector<int>{33, 67, 100, 0}));
    EXPECT_EQ(display.texts(RunText::Remaining), (Texts{L"2", L"1", L"0", L""}));
}

TEST(RunWords, EverySummaryReadsAsBefore) {
    RunSummary summary;
    summary.repetitions = 3;
    summary.methodLabel = L"DoD 5220.22-M (USA) - 3 cycles";
    const std::wstring data =
        L"Leurs données ont été écrasées  (3 X Nombre de cycles )\rAlgorithme choisi : DoD 5220.22-M (USA) - 3 cycles";
    const std::wstring seeJournal = L"Erreurs détectées, consultez le journal pour les détails";

    summary.end = RunEnd::Incomplete;
    summary.errors = 2;
    SummaryBox box = SummaryWords(summary);
    EXPECT_EQ(box.title, L"Destruction incomplète!");
    EXPECT_EQ(
        box.text,
        L"Tous les fichiers sélectionnés ont été traités\r\rCependant, des erreurs se sont produites\r\r" + seeJournal);
    EXPECT_EQ(box.icon, static_cast<UINT>(MB_ICONWARNING));

    summary.end = RunEnd::Stopped;
    box = SummaryWords(summary);
    EXPECT_EQ(box.title, L"Destruction interrompue!");
    EXPECT_EQ(box.text, L"Seule une partie des fichiers sélectionnés a été traitée\r\r" + data + L"\r\r" + seeJournal);
    EXPECT_EQ(box.icon, static_cast<UINT>(MB_ICONWARNING));
    summary.errors = 0;
    EXPECT_EQ(SummaryWords(summary).text,
              L"Seule une partie des fichiers sélectionnés a été traitée\r\r" + data + L"\r\r");

    summary.errors = 2;
    summary.unjournalled = 2;
    EXPECT_EQ(SummaryWords(summary).text, L"Seule une partie des fichiers sélectionnés a été traitée\r\r" + data +
                                              L"\r\r" + seeJournal +
                                              L"\r2 lignes n'ont pas pu y être écrites (journal inaccessible).")
        << "a journal that took no line is not read for details without a word";

    summary.end = RunEnd::Failed;
    box = SummaryWords(summary);
    EXPECT_EQ(box.title, L"Destruction incomplète!");
    EXPECT_EQ(box.text, L"Une erreur inattendue a interrompu la destruction.");
    EXPECT_EQ(box.icon, static_cast<UINT>(MB_ICONWARNING));
}

}  // namespace
