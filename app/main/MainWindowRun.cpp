// The destruction run as the main window drives it: start, pause, resume, stop, and its end.
#include "app/App.h"
#include "app/main/ControlIds.h"
#include "app/Environment.h"
#include "app/main/MainWindow.h"
#include "app/main/RunWords.h"

#include <commctrl.h>
#include <shobjidl.h>

RunSettings MainWindow::runSettings() const {
    RunSettings settings;
    wchar_t label[128] = {};
    ::GetWindowTextW(methodCombo_, label, 128);
    settings.methodLabel = label;
    BOOL failed = FALSE;
    const int count =
        static_cast<int>(::SendMessageW(repetitionsSpin_, UDM_GETPOS32, 0, reinterpret_cast<LPARAM>(&failed)));
    settings.repetitions = (failed || count < 1) ? 1 : count;
    return settings;
}

void MainWindow::startRun() {
    if (run_.active())
        return;
    // A scan appends its batch when it ends: a run started now would not see it, and its end would empty
    // the list of entries the user never saw destroyed.
    if (scans_.active()) {
        message(L"Analyse en cours",
                L"Un dossier est en cours d'analyse.\rAttendez la fin de l'analyse pour lancer la destruction.",
                MB_OK | MB_ICONWARNING);
        return;
    }
    if (list_.count() == 0) {
        message(L"ERREUR", L"Aucun fichier à détruire dans la liste!", MB_OK | MB_ICONWARNING);
        return;
    }
    if (message(L"SUPPRESSION DÉFINITIVE D'UNE LISTE DE FICHIERS",
                L"ÊTES-VOUS SÛR(E) DE VOULOIR SUPPRIMER TOUS CES FICHIERS ?\r\rSI OUI, VOUS NE POURREZ REVENIR EN "
                L"ARRIÈRE !",
                MB_YESNO | MB_ICONWARNING) != IDYES) {
        message(L"Processus", L"La destruction a été annulée par l'utilisateur!", MB_OK | MB_ICONWARNING);
        return;
    }
    if (!run_.start(runSettings())) {
        message(L"ERREUR", L"La destruction n'a pas pu démarrer.", MB_OK | MB_ICONERROR);
        return;
    }
    SetTaskbarProgressState(window_, TBPF_INDETERMINATE);
    updateLeftColumn();
    shredView_.showRunState(RunController::State::Running, false);
}

void MainWindow::pauseRun() {
    if (!run_.active())
        return;
    run_.pause();
    SetTaskbarProgressState(window_, TBPF_PAUSED);
    shredView_.showRunState(run_.state(), false);
}

void MainWindow::resumeRun() {
    if (run_.state() != RunController::State::Paused)
        return;
    run_.resume();
    SetTaskbarProgressState(window_, TBPF_INDETERMINATE);
    shredView_.showRunState(run_.state(), true);
}

void MainWindow::stopRun() {
    if (!run_.active())
        return;
    if (message(L"Arrêter la destruction", L"Voulez-vous réellement arrêter la destruction en cours ?",
                MB_YESNO | MB_ICONWARNING) != IDYES)
        return;
    // Stopping a paused run lets it go on to its next check: the window shows it running again.
    const bool wasPaused = run_.state() == RunController::State::Paused;
    run_.stop();
    if (wasPaused)
        SetTaskbarProgressState(window_, TBPF_INDETERMINATE);
    shredView_.showRunState(run_.state(), wasPaused);
}

void MainWindow::onRunDone(const RunSummary& summary) {
    const SummaryBox box = SummaryWords(summary);
    shredView_.refresh();  // the last values of the run, the overall bar at its end, under the summary
    message(box.title.c_str(), box.text.c_str(), MB_OK | box.icon);
    run_.finish();
    SetTaskbarProgressState(window_, TBPF_NOPROGRESS);
    updateLeftColumn();
    shredView_.showRunState(RunController::State::Idle, false);
    shredView_.refresh();
    explorerTree_.refresh();  // the destroyed entries leave the open folders
}
