#include "app/WindowProgress.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "app/AppWindow.h"
#include "run/FolderHelpers.h"

namespace zv {

namespace {

// The decimal text of a whole byte count, as the scale is derived from it.
std::string decimalText(double value) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.0f", value);
    return buffer;
}

void appendNumber(std::string& text, long long number) {
    char digits[24];
    const auto end = std::to_chars(std::begin(digits), std::end(digits), number).ptr;
    text.append(digits, end);
}

}  // namespace

void WindowProgress::walkStarted(Walk walk, const std::string& root) {
    WindowModel& ui = w_.ui;
    switch (walk) {
        case Walk::Copy:
            walkText_ = "Kopieren";
            ui.panel(1) = walkText_;
            ui.state = WindowState::Normal;
            w_.minimised = false;
            filesTotal_ = 0;
            countsChanged();
            ui.progressBar.visible = true;
            w_.svc.pump.repaintNow();
            ui.progressBar.setValue(0);
            startTotal(root);
            return;
        case Walk::QuickCopy:
            walkText_ = "Kopieren";
            ui.panel(1) = walkText_;
            ui.panel(2) = "Bestanden: " + std::to_string(w_.counts.copied);
            ui.panel(3) = "Van: " + std::to_string(w_.counts.seen);
            ui.progressBar.visible = true;
            w_.svc.pump.repaintNow();
            ui.progressBar.setValue(0);
            pendingTotal_.reset();
            filesTotal_ = static_cast<double>(treeFileCount(w_.svc.fs, root));
            scale();
            return;
        case Walk::Synchronise:
            walkText_ = "Synchroniseren";
            ui.panel(1) = walkText_;
            countsChanged();
            ui.progressBar.visible = true;
            ui.progressBar.value = 0;
            if (totalAhead_) {
                pendingTotal_.reset();
                filesTotal_ = static_cast<double>(*std::exchange(totalAhead_, std::nullopt));
                scale();
            } else {
                startTotal(root);
            }
            return;
    }
}

void WindowProgress::fileReached(std::uint64_t bytes) {
    bytesDone_ += static_cast<double>(bytes);
    ++filesDone_;
    if (totalKnown()) {
        advance();
        updatePercent();
        if (captionStale()) showPercentCaption();
    }
    showOnTerminal(false);
    w_.svc.pump.yield();
}

// Shown before the step begins (the window gets its turn), so that a long
// copy shows its file.
void WindowProgress::fileStarted(const std::string& path) {
    w_.ui.panel(1) = walkText_;
    showFile(path, true);
    w_.svc.pump.yield();
}

void WindowProgress::fileFinished(const std::string& path) {
    showFile(path, false);
    w_.ui.panel(1) = walkText_;
    countsChanged();
}

// Called for every file: the texts are written into the panels' own
// buffers, so no string is made.
void WindowProgress::countsChanged() {
    std::string& files = w_.ui.panel(2);
    files.assign("Bestanden: ");
    appendNumber(files, w_.counts.copied);
    files.append("         [ Verwijderd: ");
    appendNumber(files, w_.counts.removed);
    files.append(" ]");
    std::string& seen = w_.ui.panel(3);
    seen.assign("Van: ");
    appendNumber(seen, w_.counts.seen);
}

void WindowProgress::startPhase() {
    bytesDone_ = filesDone_ = filesTotal_ = 0;
    percentDone_ = 0;
    ProgressBarState& bar = w_.ui.progressBar;
    bar.value = bar.min = 0;
    bar.max = 100;
    showPercentCaption();
}

void WindowProgress::settle() {
    if (!pendingTotal_ || w_.userBreak) return;
    takeTotal();
    advance();
    showPercentCaption();
}

void WindowProgress::runFinished() {
    if (w_.counts.seen > 0) showOnTerminal(true);
    pendingTotal_.reset();
    totalAhead_.reset();
    w_.ui.progressBar.visible = false;
}

void WindowProgress::showFile(const std::string& path, bool busy) {
    w_.ui.currentFileLabel.text = path;
    w_.ui.currentFileLabel.foreColour = busy ? kColourGreen : kColourBlack;
}

void WindowProgress::showPercentCaption() {
    const std::string percent = decimalText(std::min(percentDone_, 100.0));
    if (w_.minimised)
        w_.ui.caption = percent + " %";
    else
        w_.ui.caption = percent + " %   " + w_.versionText;
    captionShown_ = {w_.ui.caption, percentDone_, w_.minimised};
}

// Building the caption for every file cost a few per cent of a run; it is
// built again only when the percentage moved or the window changed it.
bool WindowProgress::captionStale() const {
    return percentDone_ != captionShown_.percent || w_.minimised != captionShown_.minimised ||
           w_.ui.caption != captionShown_.text;
}

void WindowProgress::showOnTerminal(bool last) {
    if (!w_.unattended || !w_.terminal) return;
    const DateTime now = w_.svc.clock.now();
    if (!last && now - lastTerminalLine_ < std::chrono::milliseconds(100)) return;
    lastTerminalLine_ = now;
    // Appended piece by piece: GCC 12 takes "literal" + string here for an
    // overlapping copy (a false -Wrestrict in the sanitizer build).
    std::string line(1, '\r');
    line.append(std::to_string(w_.counts.seen))
        .append(w_.counts.seen == 1 ? " bestand, " : " bestanden, ")
        .append(std::to_string(w_.counts.copied))
        .append(" gekopieerd, ")
        .append(decimalText(bytesDone_ / 1e6))
        .append(" MB");
    if (filesTotal_ > 0) line.append(", ").append(decimalText(percentDone_)).append(" %");
    w_.terminal(line + (last ? "\n" : "   "));
}

void WindowProgress::startTotal(const std::string& folder) {
    pendingTotal_.reset();
    std::vector<std::string> subfolders;
    pendingBase_ = rootFileCount(w_.svc.fs, folder, subfolders);
    pendingTotal_ = w_.svc.fs.startFileCounts(std::move(subfolders));
    if (pendingTotal_->ready()) takeTotal();
}

bool WindowProgress::totalKnown() {
    if (!pendingTotal_) return true;
    if (!pendingTotal_->ready()) return false;
    takeTotal();
    return true;
}

void WindowProgress::takeTotal() {
    filesTotal_ = static_cast<double>(pendingBase_ + pendingTotal_->total());
    pendingTotal_.reset();
    scale();
}

// The bar counts in steps of a power of ten, so that its maximum has four
// digits.
void WindowProgress::scale() {
    ProgressBarState& bar = w_.ui.progressBar;
    bar.min = 0;
    unit_ = std::pow(10.0, static_cast<int>(decimalText(filesTotal_).size()) - 4);
    bar.max = static_cast<int>(std::floor(filesTotal_ / unit_));
    bar.value = std::min(bar.value, bar.max);
    updatePercent();
    showPercentCaption();
    w_.svc.pump.yield();
}

// The bar trails the bytes done by 1/64 of its length.
void WindowProgress::advance() {
    ProgressBarState& bar = w_.ui.progressBar;
    const double scaled = std::floor(filesDone_ / unit_);
    bar.setValue(static_cast<long long>(scaled) - bar.max / 64);
}

// Halves to even.
void WindowProgress::updatePercent() {
    if (filesTotal_ <= 0) return;
    percentDone_ = std::nearbyint(filesDone_ / filesTotal_ * 100.0);
}

}  // namespace zv
