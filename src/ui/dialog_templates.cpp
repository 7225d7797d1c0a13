#include "ui/dialog_templates.h"

#include "os/vocabulary.h"

namespace corvane {
namespace {

using K = ControlKind;
constexpr std::uint32_t kLeftStatic = kStyleLeft | kStyleGroup;
constexpr std::uint32_t kField = kStyleValueField;

// The right-hand column is a grid 27 pixels apart from y = 34: captions at x = 526, fields at
// x = 649. The template's own placement is rougher, so the window places them afterwards.
constexpr DialogControl kMainControls[] = {
    {kIdcGraph, K::Static, nullptr, {6, 7, 328, 280}, Point{16, 20}, kStyleSelfDrawn},
    {kIdcTitle,
     K::Static,
     "Flash Drive Error Test",
     {349, 10, 140, 8},
     Point{526, 14},
     kStyleCentred | kStyleGroup},
    {1209, K::Static, "Drive Letter", {347, 22, 47, 9}, Point{526, 34}, kLeftStatic},
    {kIdcDriveLetter, K::Edit, nullptr, {412, 21, 78, 12}, Point{649, 34}, kField},
    {1210, K::Static, "Drive Brand", {348, 36, 47, 9}, Point{526, 61}, kLeftStatic},
    {kIdcBrand, K::Edit, nullptr, {412, 47, 78, 12}, Point{649, 61}, kField},
    {1545, K::Static, "Drive Firmware", {348, 92, 51, 9}, Point{526, 169}, kLeftStatic},
    {kIdcFirmware, K::Edit, nullptr, {412, 90, 78, 12}, Point{649, 169}, kField},
    {1215, K::Static, "Drive Max Size", {348, 106, 50, 9}, Point{526, 196}, kLeftStatic},
    {kIdcMaxSize, K::Edit, nullptr, {412, 105, 78, 12}, Point{649, 196}, kField},
    {1222, K::Static, "Drive Format Size", {348, 120, 58, 9}, Point{526, 223}, kLeftStatic},
    {kIdcFormatSize, K::Edit, nullptr, {412, 117, 78, 12}, Point{649, 223}, kField},
    {1223, K::Static, "Drive Free Space", {348, 134, 58, 9}, Point{526, 250}, kLeftStatic},
    {kIdcFreeSpace, K::Edit, nullptr, {412, 131, 78, 12}, Point{649, 250}, kField},
    {1224, K::Static, "Drive Used Space", {348, 148, 58, 9}, Point{526, 277}, kLeftStatic},
    {kIdcUsedSpace, K::Edit, nullptr, {412, 146, 78, 12}, Point{649, 277}, kField},
    {1212, K::Static, "Drive Type", {348, 64, 41, 9}, Point{526, 115}, kLeftStatic},
    {kIdcDriveType, K::Edit, nullptr, {412, 63, 78, 12}, Point{649, 115}, kField},
    {1211, K::Static, "Drive Model", {348, 50, 44, 9}, Point{526, 88}, kLeftStatic},
    {kIdcModel, K::Edit, nullptr, {412, 33, 78, 12}, Point{649, 88}, kField},
    {kIdcStartTest,
     K::PushButton,
     "Start Test",
     {358, 339, 57, 14},
     Point{526, 517},
     kStyleTabStop},
    {kIdcTestingSectorLabel,
     K::Static,
     "Testing Sector",
     {348, 162, 51, 9},
     Point{526, 304},
     kLeftStatic},
    {kIdcTestingSector, K::Edit, nullptr, {412, 160, 78, 12}, Point{649, 304}, kField},
    {kIdcStopTest,
     K::PushButton,
     "Stop Test",
     {429, 340, 57, 13},
     Point{656, 517},
     kStyleTabStop | kStyleDisabled},
    {1226, K::Static, "Sectors Remaining", {348, 176, 62, 9}, Point{526, 331}, kLeftStatic},
    {kIdcSectorsRemaining, K::Edit, nullptr, {412, 174, 78, 12}, Point{649, 331}, kField},
    {kIdcAmountTestedLabel,
     K::Static,
     "Amount Tested",
     {348, 190, 52, 9},
     Point{526, 358},
     kLeftStatic},
    {kIdcAmountTested, K::Edit, nullptr, {412, 188, 78, 12}, Point{649, 358}, kField},
    {1546, K::Static, "Amount Remaining", {348, 204, 62, 9}, Point{526, 385}, kLeftStatic},
    {kIdcAmountRemaining, K::Edit, nullptr, {412, 203, 78, 12}, Point{649, 385}, kField},
    {1544, K::Static, "Interface", {348, 78, 41, 9}, Point{526, 142}, kLeftStatic},
    {kIdcInterface, K::Edit, nullptr, {412, 77, 78, 12}, Point{649, 142}, kField},
    // The text is never shown: the bar draws its own.
    {kIdcProgress,
     K::ProgressBar,
     "Progress1",
     {348, 301, 136, 13},
     Point{526, 444},
     kStyleBorder | kStyleSmooth | kStyleSelfDrawn},
    {1549, K::Static, "Size per Plot", {346, 246, 43, 9}, Point{526, 412}, kLeftStatic},
    {kIdcSizePerPlot, K::Edit, nullptr, {412, 243, 78, 12}, Point{649, 412}, kField},
    {kIdcQuickTest,
     K::RadioButton,
     "Quick Test",
     {353, 324, 52, 11},
     Point{526, 483},
     kStyleAutoRadio | kStyleFirstOfGroup | kStyleTabStop},
    {kIdcFullTest,
     K::RadioButton,
     "Full Test",
     {439, 324, 45, 11},
     Point{656, 483},
     kStyleAutoRadio},
    {kIdcDriveCombo,
     K::ComboBox,
     nullptr,
     {113, 340, 207, 92},
     Point{186, 559},
     kStyleDropDownList | kStyleSorted | kStyleVScroll | kStyleTabStop},
    {1662, K::Static, "Choose Flash Drive", {23, 341, 63, 8}, Point{16, 569}, kLeftStatic},
    {kIdcStatus,
     K::Edit,
     nullptr,
     {6, 373, 529, 14},
     std::nullopt,
     kStyleReadOnly | kStyleBorder | kStyleLeft | kStyleAutoHScroll | kStyleTabStop},
};

constexpr DialogControl kAboutControls[] = {
    {kIdcAboutTitle, K::Static, "Corvane V1.0", {2, 9, 286, 8}, std::nullopt, kStyleCentred},
    {kIdcStatic, K::Static, "The Corvane authors", {99, 23, 93, 8}, std::nullopt, kStyleLeft},
    {kIdcAboutWeb, K::Static, "", {101, 35, 101, 10}, std::nullopt, kStyleLeft},
};

const DialogTemplate kMainDialog{
    kIddMainDialog, "Corvane - Flash Drive Error Test", 542, 394, "MS Sans Serif", 8,
    kMainControls};
const DialogTemplate kAboutBox{kIddAboutBox, "About", 292, 58, "MS Sans Serif", 8, kAboutControls};

} // namespace

const DialogTemplate& MainDialogTemplate() {
    return kMainDialog;
}

const DialogTemplate& AboutBoxTemplate() {
    return kAboutBox;
}

const DialogTemplate* FindTemplate(int id) {
    if (id == kIddMainDialog)
        return &kMainDialog;
    if (id == kIddAboutBox)
        return &kAboutBox;
    return nullptr;
}

const DialogControl* FindControl(const DialogTemplate& tmpl, int id) {
    for (const DialogControl& c : tmpl.controls)
        if (c.id == id)
            return &c;
    return nullptr;
}

} // namespace corvane
