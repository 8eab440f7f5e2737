#include "app/main/RunWords.h"

#include "shred/OverwriteMethod.h"
#include "shred/WipeName.h"
#include "win/Paths.h"

#include <cmath>

namespace {

int RoundedPercent(long long part, long long whole) {
    return whole > 0 ? static_cast<int>(std::lround(part * 100.0 / whole)) : 0;
}

int Percent(double value) {
    return static_cast<int>(std::lround(value));
}

// "Cycles effectués:" counts the passes of two-pass methods from 1, those of three-pass methods from 0
// (the pass under way is not yet done); a one-pass method shows that it is at work, then "1 sur 1" once
// its pass is flushed.
std::wstring CyclesText(int pass, int passes) {
    if (passes == 2)
        return std::to_wstring(pass) + L" sur 2";
    if (passes == 3)
        return std::to_wstring(pass - 1) + L" sur 3";
    return L"En cours...";
}

std::wstring DataLine(const RunSummary& summary) {
    return L"Leurs données ont été écrasées  (" + std::to_wstring(summary.repetitions) +
           L" X Nombre de cycles )\rAlgorithme choisi : " + summary.methodLabel;
}

}  // namespace

std::wstring PatternText(int passes, int pattern) {
    // Random bytes read as a number in the one-pass method that is all random, as a range elsewhere; a
    // fixed byte shows its eight bits.
    if (pattern == OverwriteMethod::Random)
        return passes == 1 ? L"Nombres aléatoires" : L"Random(255)";
    std::wstring bits;
    for (int bit = 7; bit >= 0; --bit)
        bits += (pattern >> bit) & 1 ? L'1' : L'0';
    return bits;
}

void RunWords::runStarted(const std::wstring& methodLabel) {
    display_.setText(RunText::RepetitionsLabel, L"Écrasement...");
    display_.setText(RunText::Method, methodLabel);
}

void RunWords::entryStarted(const std::wstring& path) {
    display_.setText(RunText::CurrentFile, L"Fichier écrasé  :  " + win::FileNameOf(path));
}

void RunWords::passStarted(int pass, int passes, int pattern) {
    display_.setText(RunText::Cycles, CyclesText(pass, passes));
    // The pointer starts again at each pass of a method with several; a one-pass method's bar is already
    // at 0.
    if (passes > 1)
        display_.setBar(RunBar::FilePosition, 0);
    display_.setText(RunText::Pattern, PatternText(passes, pattern));
}

void RunWords::blockWritten(unsigned long long position, unsigned long long length, double writtenPercent) {
    display_.setBar(RunBar::FilePosition, Percent(static_cast<double>(position) * 100.0 / length));
    display_.setBar(RunBar::Overwrite, Percent(writtenPercent));
}

void RunWords::passFlushed(int, int passes) {
    if (passes == 1)
        display_.setText(RunText::Cycles, L"1 sur 1");
}

void RunWords::overwriteEnded() {
    display_.setBar(RunBar::FilePosition, 0);
    display_.setBar(RunBar::Overwrite, 0);
}

void RunWords::repetitionDone(int repetition, int repetitions) {
    display_.setBar(RunBar::Repetitions, RoundedPercent(repetition, repetitions));
    display_.setText(RunText::RepetitionsLabel, L"Répétitions : " + std::to_wstring(repetition));
}

void RunWords::renamed(int step) {
    display_.setText(RunText::RenameCounter, std::to_wstring(step) + L"/" + std::to_wstring(kNameWipeSteps));
    display_.setBar(RunBar::NameWipe, step);
}

void RunWords::nameWipeEnded() {
    display_.setBar(RunBar::NameWipe, 0);
}

void RunWords::entryDone(size_t left, size_t done, size_t total) {
    display_.setText(RunText::Remaining, std::to_wstring(left));
    display_.setBar(RunBar::Repetitions, 0);
    display_.setBar(RunBar::FilePosition, 0);
    display_.setBar(RunBar::Overwrite, 0);
    display_.setText(RunText::RepetitionsLabel, L"Répétitions :");
    display_.setText(RunText::Cycles, L" ");
    display_.setText(RunText::CurrentFile, L"");
    display_.setText(RunText::RenameCounter, L"");
    display_.setText(RunText::Pattern, L"");
    display_.setBar(RunBar::Overall, RoundedPercent(static_cast<long long>(done), static_cast<long long>(total)));
}

void RunWords::runCleared() {
    display_.setBar(RunBar::Overall, 0);
    display_.setText(RunText::Remaining, L"");
    display_.setBar(RunBar::NameWipe, 0);
    display_.setBar(RunBar::Repetitions, 0);  // a stopped entry's share would stay on show otherwise
    display_.setText(RunText::RepetitionsLabel, L"Répétitions : ");
    display_.setText(RunText::Cycles, L"");
    display_.setText(RunText::CurrentFile, L"");
    display_.setText(RunText::RenameCounter, L"");
    display_.setText(RunText::Method, L"");
    display_.setText(RunText::Pattern, L"");
}

SummaryBox SummaryWords(const RunSummary& summary) {
    static const std::wstring kAllDone = L"Tous les fichiers sélectionnés ont été traités";
    static const std::wstring kPartDone = L"Seule une partie des fichiers sélectionnés a été traitée";
    static const std::wstring kSeeJournal = L"Erreurs détectées, consultez le journal pour les détails";
    SummaryBox box;
    std::wstring first, second, third;
    switch (summary.end) {
        case RunEnd::Complete:
            box.title = L"Destruction complète!";
            first = kAllDone;
            second = DataLine(summary);
            box.icon = MB_ICONINFORMATION;
            break;
        case RunEnd::Incomplete:
            box.title = L"Destruction incomplète!";
            first = kAllDone;
            second = L"Cependant, des erreurs se sont produites";
            third = kSeeJournal;
            box.icon = MB_ICONWARNING;
            break;
        case RunEnd::Stopped:
            box.title = L"Destruction interrompue!";
            first = kPartDone;
            second = DataLine(summary);
            if (summary.errors)
                third = kSeeJournal;
            box.icon = MB_ICONWARNING;
            break;
        case RunEnd::Failed:
            return {L"Destruction incomplète!", L"Une erreur inattendue a interrompu la destruction.", MB_ICONWARNING};
    }
    // Lines the journal would not take (held by another program, say) are said, so that the advice to read
    // it does not promise what it cannot hold.
    if (summary.unjournalled > 0 && !third.empty()) {
        third += L"\r" + std::to_wstring(summary.unjournalled) +
                 (summary.unjournalled == 1 ? L" ligne n'a pas pu y être écrite (journal inaccessible)."
                                            : L" lignes n'ont pas pu y être écrites (journal inaccessible).");
    }
    box.text = first + L"\r\r" + second + L"\r\r" + third;
    return box;
}
