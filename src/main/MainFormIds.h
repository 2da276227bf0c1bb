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
};

}  // namespace korvex
