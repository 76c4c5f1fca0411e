// The fast sorted insertion and sort against the plain methods they replace,
// kept here as they were: one stone inserted after another by a backward walk,
// and full bubble passes.

#include <gtest/gtest.h>

#include <memory>
#include <random>

#include "model/painter_order.h"
#include "model/painter_scan.h"
#include "model/painter_sort.h"
#include "test_stones.h"

namespace {

std::vector<TBlock*> PlainInsert(const std::vector<TBlock*>& start, const std::vector<TBlock*>& stones,
                                 int octant) {
    std::vector<TBlock*> items = start;
    for (TBlock* stone : stones) {
        size_t index = items.size();
        while (index > 0 && IsBehind(*stone, *items[index - 1], octant))
            --index;
        items.insert(items.begin() + static_cast<std::ptrdiff_t>(index), stone);
    }
    return items;
}

// Full passes; a pass without an exchange leaves the list as it is, so the
// passes after it are left out.
std::vector<TBlock*> PlainSort(std::vector<TBlock*> items, int octant) {
    for (size_t pass = 1; pass < items.size(); ++pass) {
        bool exchanged = false;
        for (size_t i = 1; i < items.size(); ++i)
            if (IsBehind(*items[i], *items[i - 1], octant)) {
                std::swap(items[i], items[i - 1]);
                exchanged = true;
            }
        if (!exchanged)
            break;
    }
    return items;
}

// The same passes on compact boxes, as places of the boxes in the order.
std::vector<uint32_t> PlainSortOfBoxes(const TCompactBoxes& boxes) {
    std::vector<uint32_t> order(boxes.Size());
    for (uint32_t i = 0; i < order.size(); ++i)
        order[i] = i;
    auto behind = [&](uint32_t a, uint32_t b) {
        return boxes.Near[0][a] >= boxes.Far[0][b] || boxes.Near[1][a] >= boxes.Far[1][b] ||
               boxes.Near[2][a] >= boxes.Far[2][b];
    };
    for (size_t pass = 1; pass < order.size(); ++pass) {
        bool exchanged = false;
        for (size_t i = 1; i < order.size(); ++i)
            if (behind(order[i], order[i - 1])) {
                std::swap(order[i], order[i - 1]);
                exchanged = true;
            }
        if (!exchanged)
            break;
    }
    return order;
}

struct TStones {
    std::vector<std::unique_ptr<TBlock>> Owned;
    std::vector<TBlock*> Items;
    void Add(int32_t x, int32_t y, int32_t z, int32_t l, int32_t w, int32_t h) {
        Owned.emplace_back(StoneInUnits('B', x, y, z, l, w, h));
        Items.push_back(Owned.back().get());
    }
};

// Random stones of one of four shapes of model: heaps of small overlapping
// boxes (where behind is no order at all), walls of bricks in courses laid
// in shuffled runs (where nearly every pair is exchanged), stacks, and towns
// of small houses in rows.
TStones RandomModel(std::mt19937& random, size_t count) {
    TStones s;
    auto pick = [&](int n) { return static_cast<int32_t>(random() % static_cast<unsigned>(n)); };
    const int shape = pick(4);
    const int spread = 2 + pick(30);
    for (size_t i = 0; i < count; ++i) {
        if (shape == 3) {
            // Houses in rows along a street: walls of bricks in courses.
            const int32_t house = static_cast<int32_t>(i / 24), perRow = 1 + spread % 5;
            const int32_t ox = (house % perRow) * 110, oy = (house / perRow) * 90,
                          k = static_cast<int32_t>(i % 24);
            const int32_t course = k / 6, side = k % 6, shift = course % 2 * 10;
            if (side < 3)
                s.Add(ox + shift + side * 20, oy + (course % 2) * 50, course * 12, 20, 10, 12);
            else
                s.Add(ox + (side % 2) * 70, oy + 10 + shift + (side - 3) * 10, course * 12, 10, 20, 12);
        } else if (shape == 0)
            s.Add(pick(spread) * 10, pick(spread) * 10, pick(6) * 10, 10 + pick(3) * 10, 10 + pick(3) * 10,
                  6 + pick(3) * 7);
        else if (shape == 1)
            s.Add(pick(spread) * 20, pick(spread) * 10, pick(8) * 12, 20 + pick(2) * 20, 10, 12);
        else
            s.Add(pick(3) * 10, pick(3) * 10, static_cast<int32_t>(i) * 12 - pick(2) * 12, 20, 20, 12);
    }
    if (pick(4) == 0)
        std::shuffle(s.Items.begin(), s.Items.end(), random);
    return s;
}

} // namespace

TEST(PainterOrder, InsertionAndSortGiveThePlainMethodsOrderExactly) {
    std::mt19937 random(20261208);
    for (int round = 0; round < 3000; ++round) {
        // Mostly small lists, now and then ones large enough for many chunks.
        const size_t count = round % 100 == 0 ? 1500 + random() % 2000 : random() % 120;
        TStones model = RandomModel(random, count);
        const int octant = static_cast<int>(random() % 8);
        const size_t already = count == 0 ? 0 : random() % (count / 3 + 1);
        std::vector<TBlock*> start(model.Items.begin(),
                                   model.Items.begin() + static_cast<std::ptrdiff_t>(already));
        std::vector<TBlock*> added(model.Items.begin() + static_cast<std::ptrdiff_t>(already),
                                   model.Items.end());

        std::vector<TBlock*> items = start;
        InsertEachSorted(items, added, octant);
        const std::vector<TBlock*> expected = PlainInsert(start, added, octant);
        ASSERT_EQ(items, expected) << "insertion, round " << round;

        const int other = static_cast<int>(random() % 8);
        SortForOctant(items, other);
        ASSERT_EQ(items, PlainSort(expected, other)) << "sort, round " << round;
    }
}

TEST(PainterOrder, SidesBeyond32BitsAndUnknownOctants) {
    // Places near the 32-bit limits: the sides do not fit in 32 bits, and the
    // order is still that of the plain methods.
    TStones s;
    s.Add(2147483000, 0, 0, 2000, 20, 20);
    s.Add(-2147483000, 0, 0, 20, 20, 20);
    s.Add(0, 2147483000, 0, 20, 2000, 20);
    s.Add(0, 0, -2147483600, 20, 20, 20);
    s.Add(0, 0, 0, 20, 20, 20);
    for (int octant = 0; octant < 8; ++octant) {
        std::vector<TBlock*> items;
        InsertEachSorted(items, s.Items, octant);
        EXPECT_EQ(items, PlainInsert({}, s.Items, octant));
        SortForOctant(items, (octant + 3) % 8);
        EXPECT_EQ(items, PlainSort(PlainInsert({}, s.Items, octant), (octant + 3) % 8));
    }
    // No octant: nothing is behind anything, new stones are appended.
    std::vector<TBlock*> items{s.Items[4]};
    InsertEachSorted(items, {s.Items[0], s.Items[1]}, -1);
    EXPECT_EQ(items, (std::vector<TBlock*>{s.Items[4], s.Items[0], s.Items[1]}));
    SortForOctant(items, 9);
    EXPECT_EQ(items, (std::vector<TBlock*>{s.Items[4], s.Items[0], s.Items[1]}));
}

TEST(PainterOrder, EveryFormOfTheStopSearchAndBothLaneWidthsAgree) {
    std::mt19937 random(77);
    auto check = [&](auto scans, auto lane) {
        using TLane = decltype(lane);
        for (int round = 0; round < 2000; ++round) {
            const size_t count = random() % 70;
            std::vector<TLane> near[3];
            for (auto& axis : near)
                for (size_t i = 0; i < count; ++i)
                    axis.push_back(static_cast<TLane>(static_cast<int>(random() % 40) - 20));
            const TLane* columns[3] = {near[0].data(), near[1].data(), near[2].data()};
            const TLane far[3] = {static_cast<TLane>(static_cast<int>(random() % 40) - 15),
                                  static_cast<TLane>(static_cast<int>(random() % 40) - 15),
                                  static_cast<TLane>(static_cast<int>(random() % 40) - 15)};
            const size_t from = count == 0 ? 0 : random() % count;
            const size_t expected = scans[0](columns, from, count, far);
            for (size_t form = 1; form < scans.size(); ++form)
                ASSERT_EQ(scans[form](columns, from, count, far), expected) << "form " << form;
        }
    };
    check(StopScans16(), int16_t{});
    check(StopScans32(), int32_t{});

    // The sort gives the same order with 32-bit lanes as with 16-bit ones,
    // and whatever passes go round the ring together, over however many places
    // at a time: the same order as the plain passes.
    for (int round = 0; round < 400; ++round) {
        TCompactBoxes boxes;
        const size_t count = random() % 300;
        boxes.Resize(count);
        for (size_t i = 0; i < count; ++i)
            for (int a = 0; a < 3; ++a) {
                boxes.Near[a][i] = static_cast<int32_t>(random() % 50) * 1000 - 20000;
                boxes.Far[a][i] = boxes.Near[a][i] + 1000 + static_cast<int32_t>(random() % 3) * 1000;
            }
        const std::vector<uint32_t> expected = PlainSortOfBoxes(boxes);
        ASSERT_EQ(SortCompactBoxes(boxes), expected) << round;
        ASSERT_EQ(SortCompactBoxes(boxes, {.Narrowest = 32}), expected) << round;
        const TSortShape shape{.BundlePasses = 1 + random() % 40,
                               .BlockSlots = 1 + random() % 20,
                               .Threads = 1 + static_cast<unsigned>(random() % 4)};
        ASSERT_EQ(SortCompactBoxes(boxes, shape), expected) << round;
    }
}
