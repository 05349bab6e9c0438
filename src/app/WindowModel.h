#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <utility>

namespace zv {

// Colours as the window stores them: plain RGB values (0x00BBGGRR, so 255 is
// red and 32768 green) or system colours (0x80000000 | index).
inline constexpr std::uint32_t kColourBlack = 0;
inline constexpr std::uint32_t kColourRed = 255;
inline constexpr std::uint32_t kColourGreen = 32768;
inline constexpr std::uint32_t kColourWhite = 0xFFFFFF;
inline constexpr std::uint32_t kSysWindowText = 0x80000008;       // index 8
inline constexpr std::uint32_t kSysActiveBorder = 0x8000000A;     // index 10: greyed date
inline constexpr std::uint32_t kSysInactiveCaption = 0x8000000B;  // index 11
inline constexpr std::uint32_t kSys3DHighlight = 0x80000014;      // index 20
inline constexpr std::uint32_t kSys3DDarkShadow = 0x80000015;     // index 21

// The state of one control, as plain data the Qt window mirrors.
struct ControlState {
    ControlState() = default;
    explicit ControlState(std::string caption, std::string tip = {}, bool shown = true)
        : text(std::move(caption)), toolTip(std::move(tip)), visible(shown) {}

    std::string text;  // caption or contents
    std::string toolTip;
    bool visible = true;
    bool enabled = true;
    std::uint32_t foreColour = kColourBlack;
    std::uint32_t backColour = kColourWhite;
    int value = 0;  // check boxes: 0 unchecked, 1 checked, 2 greyed
};

struct ProgressBarState {
    bool visible = false;
    int min = 0;
    int max = 100;
    int value = 0;

    // A value outside the range is refused and the bar keeps its position.
    void setValue(long long v) {
        if (v >= min && v <= max) value = static_cast<int>(v);
    }
};

enum class WindowState { Normal, Minimised, Maximised };

// GO's text until the job is confirmed (and again after each run).
inline constexpr const char* kUnconfirmedGo = ">------------>>>>";

// The presentation model of the main window: everything the window shows.
struct WindowModel {
    std::string caption;
    bool visible = true;  // hidden during quiet unattended runs
    bool closed = false;  // the window has been closed; the program ends
    WindowState state = WindowState::Normal;
    std::string focus;  // name of the control that has the focus

    ControlState sourceLabel{"Van :"};
    ControlState backupLabel{" Naar :"};
    ControlState sourceBox;
    ControlState backupBox;
    ControlState fromDateLabel{"       Vanaf datum  / tijd:", "gemaakt; gewijzigd"};
    ControlState dateFilterBox;
    ControlState fromDateBox;
    ControlState dateCover{"", "", false};
    ControlState verifyArrow;
    ControlState syncArrow{"synchroniseren"};
    // The job reader and the options switch syncPicture and noSyncPicture for every
    // job but show the other mode pictures only for their own modes, so
    // those start hidden: exactly one mode picture is ever shown.
    ControlState syncPicture, noSyncPicture;
    ControlState syncDustbinPicture{"", "", false};
    ControlState noCheckPicture{"", "", false};
    ControlState dustbinPicture{"", "", false};
    ControlState goButton{kUnconfirmedGo};
    ControlState okButton{"OK"};
    ControlState exitButton{"Exit"};
    ControlState attributesButton{"Attr", "attributen van de backupmap"};
    ControlState currentFileLabel{"", "F1 = help"};
    ControlState folderPicker{"", "", false};
    std::string pickerFolder;  // the folder the picker has selected

    std::array<std::uint32_t, 3> verifyArrowLines{};  // arrow 1 lines: Steel, Punt1, Punt2
    std::array<std::uint32_t, 3> syncArrowLines{};    // arrow 2 lines
    std::array<std::string, 3> statusPanels;          // status panels 1..3 at index 0..2
    ProgressBarState progressBar;

    // The path boxes by their old numbers: 0 the source, 2 the backup.
    ControlState& pathBox(int index) { return index == 0 ? sourceBox : backupBox; }
    std::string& panel(int number) { return statusPanels.at(static_cast<std::size_t>(number - 1)); }
};

}  // namespace zv
