// P8: "С поддиректориями" on a tree of 50,000 files shown in the explorer, from the click to the
// send list painted, against the bare work that bounds it: a recursive enumeration of the tree and
// a bare virtual list given its row count and painted once.

#include "BenchAdd.h"

#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "BenchForm.h"
#include "BenchSupport.h"
#include "FileSystem.h"
#include "MainForm.h"

namespace korvex::bench {

void BenchAddFromExplorer(const test::TempDir& exeDir, const test::TestRegistryKey& reg) {
    test::TempDir tree;
    MakeTree(tree.Path(), 50, 1000);
    auto form = MakeBenchForm(BenchFormConfig(exeDir, reg));
    form->FrameFileExlore.QFileExplorer.SetDirectory(tree.Path());

    RECT sendList;
    GetClientRect(form->ListViewFiles.Handle(), &sendList);
    BareVirtualList<Row> bare({&Row::name, &Row::folder, &Row::size}, SIZE{sendList.right, sendList.bottom});
    std::vector<Row> rows;
    Compare(
        "P8", "\"С поддиректориями\" on a tree of 50,000 files shown in the explorer",
        "bare enumeration + virtual list painted once", 5,
        [&] {
            form->ClearSendList();
            UpdateWindow(form->ListViewFiles.Handle());
            return Seconds([&] {
                form->NNoSubdirsClick(TMainForm::NSubdirs);
                UpdateWindow(form->ListViewFiles.Handle());
            });
        },
        [&] {
            rows.clear();
            return Seconds([&] {
                BareWalk(tree.Path(), rows);
                bare.Show(rows);
            });
        });
    if (form->SendEntries().Size() != 50000) std::printf("P8 warning: %zu entries\n", form->SendEntries().Size());
}

}  // namespace korvex::bench
