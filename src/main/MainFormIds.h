#pragma once
// The control ids of the main window's own controls, for the window and for whoever finds its
// controls from outside (the end-to-end tests).

namespace korvex {

enum MainFormControlId : int {
    kIdListViewFiles = 100,
    kIdListViewAdress,
    kIdEditAdress,
    kIdEditSubj1,
    kIdComboAccaunts,
    kIdCheckBoxEdit,
    kIdMakeQuery,
    kIdClear,
    kIdExplorer,
    kIdAddAll,
    kIdAddFiles,
    kIdJournal,
};

// The system menu's "Korvex в меню «Отправить»"; a system-menu command keeps its low four bits clear.
inline constexpr unsigned kSysSendTo = 0x0110;

}  // namespace korvex
