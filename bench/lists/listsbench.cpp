// listsbench: how fast the sortable lists sort and how little a virtual list costs.
//
// Sorting: a list of 100,000 items whose one column holds texts of a kind (whole numbers,
// texts, dates with times, decimal fractions, hexadecimal numbers) is sorted ascending through
// CSortClass (pairs made, the list's sort, data put back), against std::sort of the same texts
// with the same comparison. The items are shuffled again before every run, outside the time.
// The target is within 3 times std::sort.
//
// Virtual list: an owner-data list set to 1,000,000 items and scrolled to its last item, and
// the same with the one paint that shows the last page. The target is under 10 ms.
//
// Run by hand (offscreen): QT_QPA_PLATFORM=offscreen build/bench/zorbench_lists.

#include "framework/lists/sortlistctrl.h"
#include "framework/lists/virtuallistctrl.h"

#include <QtWidgets/QApplication>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr int c_sortItems = 100000;
constexpr int c_virtualItems = 1000000;

QApplication& app()
{
    static int argc = 1;
    static char name[] = "zorbench_lists";
    static char* argv[] = {name, nullptr};
    static auto* application = new QApplication(argc, argv);
    return *application;
}

std::vector<std::string> textsOfKind(int kind, int n)
{
    std::mt19937 engine(static_cast<unsigned>(kind) * 7919u);
    const auto random = [&engine] { return static_cast<unsigned>(engine()); };
    std::vector<std::string> texts;
    texts.reserve(static_cast<std::size_t>(n));
    char buffer[64];
    for (int i = 0; i < n; ++i) {
        switch (kind) {
        case eSORT_INT:
            std::snprintf(
                buffer, sizeof buffer, "%d", static_cast<int>(random() % 2000001u) - 1000000);
            break;
        case eSORT_TEXT:
            for (int c = 0; c < 8; ++c)
                buffer[c] = static_cast<char>((random() % 2 ? 'a' : 'A') + random() % 26);
            buffer[8] = '\0';
            break;
        case eSORT_DATE:
            std::snprintf(buffer, sizeof buffer, "%u/%u/%u %u:%02u", 1 + random() % 12,
                1 + random() % 28, 1990 + random() % 30, random() % 24, random() % 60);
            break;
        case eSORT_DEC:
            std::snprintf(buffer, sizeof buffer, "%.3f",
                static_cast<double>(random() % 2000000) / 7.0 - 100000.0);
            break;
        default:
            std::snprintf(
                buffer, sizeof buffer, "%X", static_cast<unsigned>(random() % 0x7FFFFFFF));
            break;
        }
        texts.emplace_back(buffer);
    }
    return texts;
}

// Mixes the items of a list again: a comparison by a random key kept in each item's data.
int byKey(LPARAM a, LPARAM b, LPARAM)
{
    return (a > b) - (a < b);
}

void shuffle(CListCtrl& list, std::mt19937& random)
{
    for (int i = 0; i < list.GetItemCount(); ++i)
        list.SetItemData(i, random());
    list.SortItems(&byKey, 0);
}

class KindList : public CSortListCtrl
{
public:
    eSORTCTRLTYPE kind {eSORT_TEXT};
    eSORTCTRLTYPE getColType(int) override { return kind; }
};

void BM_SortClass(benchmark::State& state)
{
    app();
    const auto kind = static_cast<eSORTCTRLTYPE>(state.range(0));
    CWnd parent;
    parent.CreateEx(0, "ZorBench", "bench", WS_POPUP, CRect(0, 0, 400, 300), nullptr, 0);
    KindList list;
    list.kind = kind;
    list.Create(LVS_REPORT, CRect(0, 0, 400, 300), &parent, 1);
    list.addColumn("Value", 0, 120);
    const std::vector<std::string> texts = textsOfKind(kind, c_sortItems);
    for (int i = 0; i < c_sortItems; ++i)
        list.addItem(i, 0, texts[static_cast<std::size_t>(i)].c_str());
    std::mt19937 random(1);
    for (auto _ : state) {
        state.PauseTiming();
        shuffle(list, random);
        state.ResumeTiming();
        CSortClass sorter(&list, 0);
        sorter.Sort(TRUE, kind);
    }
    state.SetItemsProcessed(state.iterations() * c_sortItems);
}

void BM_StdSort(benchmark::State& state)
{
    const int kind = static_cast<int>(state.range(0));
    std::vector<std::string> texts = textsOfKind(kind, c_sortItems);
    std::mt19937 random(1);
    for (auto _ : state) {
        state.PauseTiming();
        std::shuffle(texts.begin(), texts.end(), random);
        state.ResumeTiming();
        std::sort(texts.begin(), texts.end(), [kind](const std::string& a, const std::string& b) {
            return CSortClass::compareTexts(a.c_str(), b.c_str(), kind) < 0;
        });
        benchmark::DoNotOptimize(texts.data());
    }
    state.SetItemsProcessed(state.iterations() * c_sortItems);
}

// An owner that answers every cell with its row number.
class Owner : public CWnd
{
public:
    Owner()
    {
        CreateEx(0, "ZorBench", "bench", WS_POPUP, CRect(0, 0, 400, 300), nullptr, 0);
        onNotify(1, LVN_GETDISPINFO, [](NMHDR* header, LRESULT*) {
            auto* info = reinterpret_cast<NMLVDISPINFO*>(header);
            std::snprintf(info->item.pszText, static_cast<std::size_t>(info->item.cchTextMax), "%d",
                info->item.iItem);
        });
    }
};

void BM_VirtualMillion(benchmark::State& state)
{
    app();
    const bool paint = state.range(0) != 0;
    Owner parent;
    CVirtualListCtrl list;
    list.Create(WS_VISIBLE, CRect(0, 0, 400, 300), &parent, 1);
    list.addColumn("Row", 0, 120);
    list.addColumn("Again", 1, 120);
    parent.ShowWindow(SW_SHOW);
    QCoreApplication::processEvents();
    for (auto _ : state) {
        state.PauseTiming();
        list.setItemCount(0);
        QCoreApplication::processEvents();
        state.ResumeTiming();
        list.setItemCount(c_virtualItems);
        list.EnsureVisible(c_virtualItems - 1, FALSE);
        if (paint)
            benchmark::DoNotOptimize(list.grabClient());
    }
    if (list.GetTopIndex() + list.GetCountPerPage() != c_virtualItems)
        state.SkipWithError("the list did not scroll to its end");
}

} // namespace

BENCHMARK(BM_SortClass)->DenseRange(eSORT_INT, eSORT_HEX)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StdSort)->DenseRange(eSORT_INT, eSORT_HEX)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_VirtualMillion)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
