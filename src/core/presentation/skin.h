#pragma once
// The skinning routines: colouring a window's controls from the skin, giving
// a window its full region, and laying skin labels over plain labels. Each
// window's load calls them only while the skinning flag is set.
#include <cstdint>

#include "presentation/program_values.h"
#include "presentation/skin_object.h"
#include "ui/form.h"

namespace cd::presentation {

/// Colours the window's controls from the skin (skipped when the skin cannot
/// give its colours), clips the window to its full region on systems that
/// need it, and attaches the skin. Every failing step is skipped; nothing is
/// reported. skin may be null (no skin object yet): the steps that need it
/// are skipped. regions may be null when the window region is never needed.
void ApplySkin(ui::Form& window, SkinObject* skin, bool skinningFlag, WindowRegions* regions);

/// Sets the colours by type name: "CommandButton" background only; "TextBox",
/// "ComboBox", "FileListBox", "DirListBox", "DriveListBox", "ListBox",
/// "ListView" background and text; "PictureBox" the picture colour; every
/// other control keeps its colours. The first control that refuses a colour
/// ends the routine; returns false then.
bool SetSkinColours(ui::Form& window, std::int32_t background, std::int32_t text, std::int32_t picture);

/// Whether the system needs the full window region for skinned windows; never
/// on this desktop.
bool IsVistaOrLater();

/// Clips window to the rectangle 0, 0, width, height of its own size, with
/// repainting.
void SetFullWindowRegion(const ui::Form& window, WindowRegions& regions);

/// Lays a new member of the control array "skinLabel" over each control of
/// type "Label" (top, left, height, width, caption, visibility copied; the
/// label stays). With sameContainerOnly, only the labels in the container of
/// skinLabel(0) get one. Returns how many were added; none when the window
/// has no skinLabel(0).
int AddSkinLabels(ui::Form& window, bool sameContainerOnly);

/// A window's skinning at load, only while the skinning flag is set: skin
/// labels over its labels (with the main window's rule when
/// mainWindowRule), then ApplySkin with the program's skin object. The main
/// window's start-up and the about window's load call it.
void SkinWindowAtLoad(ui::Form& window, const ProgramValues& program, bool mainWindowRule, WindowRegions* regions);

}  // namespace cd::presentation
