// Recovery copies of unsaved work: written every few minutes and before a build while there
// are unsaved changes, removed when the document is saved, replaced or closed cleanly, and
// offered at the next start when an editor did not close. The copy is a project file with an
// origin file beside it (see document/recovery_copy.h); a lock file beside it says that a
// running editor owns it, so a second editor never offers the first one's work.
#include "ui/main_window.h"

#include "document/recovery_copy.h"
#include "io/io_error.h"
#include "ui/build_dialog.h"
#include "ui/document_text.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QLockFile>
#include <QStandardPaths>
#include <QUndoStack>
#include <QtDebug>

namespace morvane {

namespace {

QString lockPathOf(const QString& copyPath) {
    return copyPath + ".lock";
}

// A lock that a live editor holds however old it is; one left by an editor that ended is free.
std::unique_ptr<QLockFile> tryLock(const QString& copyPath) {
    auto lock = std::make_unique<QLockFile>(lockPathOf(copyPath));
    lock->setStaleLockTime(0);
    if (!lock->tryLock(0)) {
        return nullptr;
    }
    return lock;
}

} // namespace

QString MainWindow::defaultRecoveryFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + "/recovery";
}

void MainWindow::setRecoveryFolder(const QString& folder) {
    discardRecoveryCopy();
    recoveryLock_.reset();
    recoveryCopyPath_.clear();
    recoveryFolder_ = folder;
}

void MainWindow::saveRecoveryCopy() {
    if (!isModified()) {
        discardRecoveryCopy();
        return;
    }
    const BuildSettings settings = buildDialog_->settings();
    if (!recoveryCopyPath_.isEmpty() && recoveryIndex_ == undoStack_->index() &&
        recoverySettings_ == settings && QFile::exists(recoveryCopyPath_)) {
        return; // the copy holds these changes already
    }
    if (recoveryCopyPath_.isEmpty()) {
        if (!QDir().mkpath(recoveryFolder_)) {
            throw IoError("The recovery folder " + localPath(recoveryFolder_) + " cannot be made.");
        }
        const QString path = QString("%1/recovery-%2-%3%4")
                                 .arg(recoveryFolder_)
                                 .arg(QCoreApplication::applicationPid())
                                 .arg(QDateTime::currentMSecsSinceEpoch())
                                 .arg(RecoveryCopyExtension);
        recoveryLock_ = tryLock(path);
        if (!recoveryLock_) {
            throw IoError("The recovery copy " + localPath(path) + " cannot be locked.");
        }
        recoveryCopyPath_ = path;
    }
    // What a save would write: the document with the build dialog's settings.
    StoreBuildSettings(project_, settings);
    WriteRecoveryCopy(project_, localPath(recoveryCopyPath_), localPath(projectFileName_));
    recoveryIndex_ = undoStack_->index();
    recoverySettings_ = settings;
}

void MainWindow::saveRecoveryCopyQuietly() {
    try {
        saveRecoveryCopy();
    } catch (const IoError& e) {
        qWarning("No recovery copy was written: %s", e.what());
    }
}

void MainWindow::discardRecoveryCopy() {
    if (!recoveryCopyPath_.isEmpty()) {
        RemoveRecoveryCopy(localPath(recoveryCopyPath_));
    }
    recoveryIndex_ = -1;
}

bool MainWindow::offerRecovery() {
    for (const RecoveryCopy& copy : FindRecoveryCopies(localPath(recoveryFolder_))) {
        const QString path = fromLocalPath(copy.Path);
        std::unique_ptr<QLockFile> lock = tryLock(path);
        if (!lock || path == recoveryCopyPath_) {
            continue; // another running editor's work, or this one's
        }
        if (!RecoveryIsNewerThanProject(copy)) {
            RemoveRecoveryCopy(copy.Path); // its project was saved after it
            continue;
        }
        const QString project = fromLocalPath(copy.OriginalPath);
        if (!services_.askOpenRecovery(this, project)) {
            RemoveRecoveryCopy(copy.Path);
            continue;
        }
        if (readProject(path, project)) {
            // The recovered work is this editor's now: not saved, and its copy is this one's.
            discardRecoveryCopy();
            recoveryLock_ = std::move(lock);
            recoveryCopyPath_ = path;
            undoStack_->resetClean();
            updateCaption();
            centerCamera();
            return true;
        }
    }
    return false;
}

} // namespace morvane
