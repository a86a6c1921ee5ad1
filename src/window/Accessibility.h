#pragma once

class QMenuBar;

// What the program tells a screen reader beyond what Qt's own widgets say.
namespace Accessibility {

// Installs the program's accessible interfaces, once the application object exists. The program's links
// (LinkLabel, LinkCheckBox) are presented with the link role, and they and the program's frames
// (CaptionFrame) are not presented as showing while a sibling covers them whole or while they lie
// outside their parent. Text fields answer every text request at once, with ranges inside the text.
void install();

// Qt's accessibility bridge holds each key back until the screen reader has seen it, then replays it.
// An access key acts at once, so with Alt released first the replayed Alt press and release come after
// the letter, and the menu bar takes them for a lone Alt and opens. Replayed Alt presses are kept from
// the menu bar; a real lone Alt still opens it. The filter is application-wide (it sees every window's
// keys) and lives as long as the menu bar.
void ignoreReplayedAlt(QMenuBar* menuBar);

} // namespace Accessibility
