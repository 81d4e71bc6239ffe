// The screen patterns every settings screen follows, written once: number
// edit, its feedback, the view-only variant, choice feedback, and the yes/no
// question with its feedback. A module's state is then one line:
//
//   SM_State BRT_TemperaturDialog(SM_Hsm* me, const SM_Event* e)
//   {
//       return SCR_EditState(me, e, kEdit);
//   }
#pragma once

#include <cstdint>

#include "core/SM.h"

struct GUI_BOX;

// What a screen's INIT parameter tells it about how it was entered. 1 and 2
// are the start modes the main task passes on; from 6 on they belong to the
// flows of the screens named.
enum SCR_InitPar : std::uint32_t {
    SCR_PLAIN = 0,
    SCR_FIRST_START = 1,
    SCR_RESTART_3AM = 2,
    SCR_FROM_PARENT = 3, // entered afresh
    SCR_FROM_CHILD = 4,  // back from a sub-screen: the remembered position comes back
    SCR_REFRESH = 5,     // drawn again where it was
    // The commissioning assistant: it opens the language and time screens
    // with 6 (and is opened with 6); they come back with 7 when confirmed,
    // 8 when left with BACK; 9 takes it one step back.
    SCR_ASSISTANT = 6,
    SCR_ASSISTANT_CONFIRMED = 7,
    SCR_ASSISTANT_LEFT = 8,
    SCR_ASSISTANT_ONE_BACK = 9,
    // The time and date dialogs as the clock message opens them (the
    // assistant: time and date only), and as the settings menu does.
    SCR_CLOCK_MESSAGE = 10,
    SCR_FROM_SETTINGS = 11,
};

// Writes the Entry, Init or Exit trace line of a state; true when the event
// was one of those. Every screen state calls it first.
bool SCR_Trace(const char* name, const SM_Event* e);

// One of the eight keys, pressed (or repeating).
bool SCR_IsKey(std::uint16_t sig);

// Shows a hint; `arm` starts the 4-second hint timer.
void SCR_Hint(std::uint8_t index, bool arm);

// A menu's memory: its position for the return from a sub-screen, its hint.
struct SCR_Menu {
    std::uint8_t firstRow;
    std::uint8_t cursor;
    std::uint8_t hint;
    bool left = false; // exited since its last INIT
};
// Shows and remembers a menu hint; "Weiter mit OK" runs for 4 s.
void SCR_MenuHint(SCR_Menu& menu, std::uint8_t index);
// On INIT: settles the hint and tells whether the remembered position is to
// be put back: when back from a child, and on a refresh that follows an
// exit (the locked message returns so), where the entry has just rebuilt the
// list; a menu's own refresh keeps its live position. A "Weiter mit OK"
// whose timer the exit stopped runs again.
bool SCR_MenuInit(SCR_Menu& menu, std::uint32_t par);
// UP and DOWN: the cursor, "Weiter mit OK" even when it did not move, a
// refresh. False for every other signal.
bool SCR_MenuCursorKeys(SCR_Menu& menu, const SM_Event* e);
// On exit: remember the position, then the exit actions every screen has.
void SCR_MenuExit(SCR_Menu& menu);

struct SCR_Edit {
    const char* name; // the state's name, for its trace lines
    void (*drawTitle)();
    void (*store)(std::int16_t celsius); // writes the image and files the record
    SM_Handler feedback;
    SM_Handler parent; // superstate; handles BACK
};
// Value in the dialog box set up by the parent (VD_Setup); OK stores it.
SM_State SCR_EditState(SM_Hsm* me, const SM_Event* e, const SCR_Edit& s);

// The parent of an edit screen: it sets the dialog up and chooses the edit
// or the view-only screen on INIT (which enters with 3), and BACK leaves to
// the screen the edit was opened from (with 4). Its help page is the
// module's: the patterns cannot name the help screen.
struct SCR_EditParent {
    const char* name;
    void (*init)(); // remembers the screen to return to, VD_Setup
    SM_Handler (*child)();
    SM_Handler (*returnTo)();
};
SM_State SCR_EditParentState(SM_Hsm* me, const SM_Event* e, const SCR_EditParent& s);

struct SCR_Feedback {
    const char* name;
    void (*drawTitle)();
    SM_Handler edit; // the cursor keys go back to it
    SM_Handler parent;
    SM_Handler (*returnTo)(); // the screen the edit was opened from
};
SM_State SCR_FeedbackState(SM_Hsm* me, const SM_Event* e, const SCR_Feedback& s);

struct SCR_ViewOnly {
    const char* name;
    void (*drawTitle)();
    SM_Handler parent;
};
// The value set at a remote control: shown, not edited.
SM_State SCR_ViewOnlyState(SM_Hsm* me, const SM_Event* e, const SCR_ViewOnly& s);

struct SCR_Choice {
    const char* name;
    void (*drawTitle)();
    std::uint16_t (*chosenText)(); // text id of the chosen entry
    bool (*changed)();             // differs from the choice in force at opening
    SM_Handler menu;               // the choice menu, entered again afresh
    SM_Handler anchor;
    SM_Handler parent;
};
SM_State SCR_ChoiceFeedbackState(SM_Hsm* me, const SM_Event* e, const SCR_Choice& s);

struct SCR_Question {
    const char* name;
    void (*drawTitle)();
    std::uint16_t question;  // text id, in the first row
    std::uint8_t* answer;    // 0 "Nein", 1 "Ja"
    std::uint8_t toggleHint; // HINT_TAKE_OVER_OK or HINT_CONTINUE_OK, as the screen wants
    void (*action)();        // carried out on OK with "Ja"
    SM_Handler feedback;
    SM_Handler menu; // the calling menu, entered again as from its child
    SM_Handler anchor;
    SM_Handler parent;
    // A question that is its own title leaves `question` at ML_NO_TEXT and
    // puts the answer higher up.
    const GUI_BOX* answerBox = nullptr;
    // Answers other than "Ja" and "Nein" (text ids; 0 keeps those).
    std::uint16_t yesText = 0;
    std::uint16_t noText = 0;
    std::uint32_t menuParameter = SCR_FROM_CHILD; // how "Nein" and BACK enter the menu
};
SM_State SCR_QuestionState(SM_Hsm* me, const SM_Event* e, const SCR_Question& s);

struct SCR_QuestionFeedback {
    const char* name;
    void (*drawTitle)();
    std::uint16_t question;
    const std::uint8_t* answer;
    SM_Handler (*returnTo)();
    std::uint32_t returnParameter;
    SM_Handler anchor;
    SM_Handler parent;
    const GUI_BOX* answerBox = nullptr;
};
SM_State SCR_QuestionFeedbackState(SM_Hsm* me, const SM_Event* e, const SCR_QuestionFeedback& s);
