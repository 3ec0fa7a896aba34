#pragma once

/// Makes the skin's own widgets known to the platform's accessibility: a skinned button as a
/// button (a toggle button or a page tab by its group's mode) named after its caption, with
/// its checked and enabled states and a press action; the status line as a status bar.
/// Called by those widgets; installs once however often it is called.
void InstallSkinAccessibility();
