// Times the seven editing operations on 5,000-node trees of three shapes, through the item
// form (so the closing sync is included) with a view that does nothing. Prints a table of the
// slowest single call per operation and shape, then the overall slowest as the headline.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <iterator>
#include <random>
#include <string>

#include "bench/bench_support.h"
#include "bench/tree_ops.h"
#include "settings/item_form.h"

using namespace kestrin;

namespace {

constexpr int kNodes = 5000;
constexpr int kCallsPerOp = 200;

class NullView : public ItemFormView {
public:
    void SetEditText(FormEdit, const std::string&) override {}
    void SetEditReadOnly(FormEdit, bool) override {}
    void SetComboIndex(FormCombo, int) override {}
    void SetComboFace(FormCombo, bool) override {}
    void ApplyTreeSteps(const std::vector<TreeStep>&) override {}
    void FocusTree() override {}
    void ShowError(const std::string&) override {}
    void SetKeyboardCommandsEnabled(bool) override {}
};

}  // namespace

int main() {
    const char* shapes[] = {"flat", "menus", "chain"};
    std::mt19937 rng(7);
    double slowest = 0;
    double slowestPerShape[std::size(shapes)] = {};
    std::printf("%-10s", "op \\ ms");
    for (const char* shape : shapes) std::printf("%12s", shape);
    std::printf("\n");
    for (int op = 0; op < 7; ++op) {
        std::printf("%-10s", kTreeOps[op]);
        for (size_t shapeIndex = 0; shapeIndex < std::size(shapes); ++shapeIndex) {
            const char* shape = shapes[shapeIndex];
            ItemStore store;
            Tree tree;
            NullView view;
            ItemForm form(store, tree, view);
            double worst = 0;
            for (int call = 0; call < kCallsPerOp; ++call) {
                if (call % 20 == 0) BuildBenchTree(shape, kNodes, tree, store.items);  // keep the size near 5,000
                std::vector<NodeId> all = tree.PreOrder();
                // Every other call hits the deepest or last node, the costliest spot for most shapes.
                NodeId target = call % 2 ? all.back() : all[rng() % all.size()];
                // Delete also takes the largest subtrees: the first node and its first child.
                if (op == 6 && call % 4 == 1) target = tree.FirstRoot();
                if (op == 6 && call % 4 == 3 && tree.HasChildren(tree.FirstRoot()))
                    target = tree.FirstChild(tree.FirstRoot());
                form.OnSelectionChanged(target);
                auto start = std::chrono::steady_clock::now();
                RunTreeOp(form, op);
                std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;
                worst = std::max(worst, took.count());
            }
            slowest = std::max(slowest, worst);
            slowestPerShape[shapeIndex] = std::max(slowestPerShape[shapeIndex], worst);
            std::printf("%12.3f", worst);
        }
        std::printf("\n");
    }
    for (size_t shape = 0; shape < std::size(shapes); ++shape)
        std::printf("bench: tree.op.5000.%s.ms %.3f\n", shapes[shape], slowestPerShape[shape]);
    std::printf("bench: tree.op.5000.ms %.3f\n", slowest);
    return 0;
}
