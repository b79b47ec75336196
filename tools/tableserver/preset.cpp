#include "preset.h"

#include "protocol/operations.h"

#include <algorithm>
#include <sstream>

namespace tableserver {

Tile TileByName(const std::string& name)
{
    static const char* const honours[] = {"E", "S", "W", "N", "Rd", "Gd", "Wd"};
    for (int r = 1; r <= 7; ++r)
        if (name == honours[r - 1])
            return static_cast<Tile>(tile::Honours | r);
    if (name.size() != 2 || name[0] < '1' || name[0] > '9')
        return 0;
    const int rank = name[0] - '0';
    switch (name[1]) {
    case 'B':
        return static_cast<Tile>(tile::Bamboo | rank);
    case 'C':
        return static_cast<Tile>(tile::Characters | rank);
    case 'D':
        return static_cast<Tile>(tile::Dots | rank);
    default:
        return 0;
    }
}

namespace {

struct Fault {
    std::string text;
};

// The hand being read, before its wall is put together.
struct HandDraft {
    PresetHand hand;
    int line = 0;
    std::vector<Tile> wall;
    std::array<std::optional<std::vector<Tile>>, 4> seats;
    std::optional<Tile> indicator;
    std::vector<Tile> draws;
    int wallLine = 0;
    int dealLine = 0; // the first seat, indicator or draws line
};

[[noreturn]] void Fail(int line, const std::string& what)
{
    throw Fault{"line " + std::to_string(line) + ": " + what};
}

int Number(const std::string& word, int min, int max, int line, const char* what)
{
    int v = 0;
    std::size_t used = 0;
    try {
        v = std::stoi(word, &used);
    } catch (...) {
        used = 0;
    }
    if (used != word.size() || word.empty() || v < min || v > max)
        Fail(line, std::string(what) + " must be a number from " + std::to_string(min) + " to "
                 + std::to_string(max) + ", not \"" + word + "\"");
    return v;
}

Tile TileWord(const std::string& word, int line)
{
    const Tile t = TileByName(word);
    if (t == 0)
        Fail(line, "\"" + word + "\" is no tile (1B-9B, 1C-9C, 1D-9D, E S W N Rd Gd Wd)");
    return t;
}

std::vector<Tile> Tiles(const std::vector<std::string>& words, std::size_t from, int line)
{
    std::vector<Tile> out;
    for (std::size_t i = from; i < words.size(); ++i)
        out.push_back(TileWord(words[i], line));
    return out;
}

void Need(const std::vector<std::string>& w, std::size_t n, int line, const char* usage)
{
    if (w.size() != n)
        Fail(line, std::string("expected \"") + usage + "\"");
}

void CheckCounts(const std::vector<Tile>& tiles, int line, bool exact)
{
    const TileCounts c = CountTiles(tiles);
    for (int i = 0; i < tile::Kinds; ++i) {
        const int n = c[static_cast<std::size_t>(i)];
        if (n > 4 || (exact && n != 4))
            Fail(line, "the hand has " + std::to_string(n) + " of " + tile::Name(tile::FromIndex(i))
                     + (exact ? ", the wall needs 4 of every tile" : ", there are only 4"));
    }
}

// The ring as the deal walks it: three passes of four tiles from the banker
// on, the single draws (banker, the others, the banker's fourteenth), the
// indicator, the listed draws, then every tile not named yet in the order
// of the tile kinds.
std::vector<Tile> Compose(const HandDraft& d)
{
    const int banker = *d.hand.banker;
    std::vector<Tile> ring;
    auto seatTiles = [&](int k) -> const std::vector<Tile>& { return *d.seats[static_cast<std::size_t>((banker + k) % 4)]; };
    for (int pass = 0; pass < 3; ++pass)
        for (int k = 0; k < 4; ++k)
            for (int i = 0; i < 4; ++i)
                ring.push_back(seatTiles(k)[static_cast<std::size_t>(pass * 4 + i)]);
    for (int k = 0; k < 4; ++k)
        ring.push_back(seatTiles(k)[12]);
    ring.push_back(seatTiles(0)[13]);
    ring.push_back(*d.indicator);
    ring.insert(ring.end(), d.draws.begin(), d.draws.end());
    CheckCounts(ring, d.dealLine, false);
    TileCounts left{};
    left.fill(4);
    for (Tile t : ring)
        --left[static_cast<std::size_t>(tile::Index(t))];
    for (int i = 0; i < tile::Kinds; ++i)
        for (int n = 0; n < left[static_cast<std::size_t>(i)]; ++n)
            ring.push_back(tile::FromIndex(i));
    return ring;
}

void Finish(HandDraft& d, Preset& p)
{
    const bool dealt = std::any_of(d.seats.begin(), d.seats.end(), [](const auto& s) { return s.has_value(); })
        || d.indicator || !d.draws.empty();
    if (!d.wall.empty() && dealt)
        Fail(d.dealLine, "a hand gives either a wall or seat, indicator and draws lines, not both");
    if (!d.wall.empty()) {
        if (d.wall.size() != tile::Count)
            Fail(d.wallLine, "the wall has " + std::to_string(d.wall.size()) + " tiles, it needs 136");
        CheckCounts(d.wall, d.wallLine, true);
        d.hand.wall = d.wall;
    } else if (dealt) {
        if (!d.hand.banker)
            Fail(d.dealLine, "a hand dealt by seat lines needs a banker line");
        for (int s = 0; s < 4; ++s)
            if (!d.seats[static_cast<std::size_t>(s)])
                Fail(d.dealLine, "the hand has no seat " + std::to_string(s) + " line");
        for (int s = 0; s < 4; ++s) {
            const std::size_t want = s == *d.hand.banker ? 14 : 13;
            if (d.seats[static_cast<std::size_t>(s)]->size() != want)
                Fail(d.dealLine, "seat " + std::to_string(s) + " holds " + std::to_string(d.seats[static_cast<std::size_t>(s)]->size())
                         + " tiles, it needs " + std::to_string(want) + (want == 14 ? " (the banker)" : ""));
        }
        if (!d.indicator)
            Fail(d.dealLine, "the hand has no indicator line");
        d.hand.wall = Compose(d);
    }
    p.hands.push_back(d.hand);
}

void Directive(const std::vector<std::string>& w, int line, Preset& p, std::optional<HandDraft>& d)
{
    const std::string& key = w[0];
    if (key == "minfan") {
        Need(w, 2, line, "minfan N");
        if (d || !p.hands.empty())
            Fail(line, "minfan must come before the first hand");
        p.minFan = Number(w[1], 1, 99, line, "the fewest fan");
        return;
    }
    if (key == "hand") {
        Need(w, 1, line, "hand");
        if (d)
            Finish(*d, p);
        d = HandDraft{};
        d->line = line;
        return;
    }
    if (!d)
        Fail(line, "\"" + key + "\" must come after a hand line");
    HandDraft& h = *d;
    if (key == "banker") {
        Need(w, 2, line, "banker SEAT");
        h.hand.banker = Number(w[1], 0, 3, line, "the banker's seat");
    } else if (key == "dice") {
        Need(w, 5, line, "dice A B C D");
        std::array<int, 4> dice{};
        for (int i = 0; i < 4; ++i)
            dice[static_cast<std::size_t>(i)] = Number(w[static_cast<std::size_t>(i + 1)], 1, 6, line, "a die");
        h.hand.dice = dice;
    } else if (key == "wall") {
        if (h.wall.empty())
            h.wallLine = line;
        const auto t = Tiles(w, 1, line);
        h.wall.insert(h.wall.end(), t.begin(), t.end());
    } else if (key == "seat") {
        if (w.size() < 2)
            Fail(line, "expected \"seat SEAT TILE...\"");
        const int s = Number(w[1], 0, 3, line, "the seat");
        if (h.seats[static_cast<std::size_t>(s)])
            Fail(line, "seat " + std::to_string(s) + " is dealt twice");
        h.seats[static_cast<std::size_t>(s)] = Tiles(w, 2, line);
        if (!h.dealLine)
            h.dealLine = line;
    } else if (key == "indicator") {
        Need(w, 2, line, "indicator TILE");
        h.indicator = TileWord(w[1], line);
        if (!h.dealLine)
            h.dealLine = line;
    } else if (key == "draws") {
        const auto t = Tiles(w, 1, line);
        h.draws.insert(h.draws.end(), t.begin(), t.end());
        if (!h.dealLine)
            h.dealLine = line;
    } else if (key == "turn") {
        if (w.size() < 3)
            Fail(line, "expected \"turn SEAT discard TILE|win|kong TILE|pass\"");
        const int s = Number(w[1], 0, 3, line, "the seat");
        ScriptedTurn t;
        t.line = line;
        if (w[2] == "discard" || w[2] == "kong") {
            Need(w, 4, line, "turn SEAT discard|kong TILE");
            t.action = w[2] == "discard" ? ScriptedTurn::Discard : ScriptedTurn::Kong;
            t.tile = TileWord(w[3], line);
        } else if (w[2] == "win" || w[2] == "pass") {
            Need(w, 3, line, "turn SEAT win|pass");
            t.action = w[2] == "win" ? ScriptedTurn::Win : ScriptedTurn::Pass;
        } else {
            Fail(line, "a turn is discard, win, kong or pass, not \"" + w[2] + "\"");
        }
        h.hand.turns[static_cast<std::size_t>(s)].push_back(t);
    } else if (key == "claim") {
        if (w.size() < 4)
            Fail(line, "expected \"claim SEAT pass|pong|kong|win TILE\" or \"claim SEAT chow A B TILE\"");
        const int s = Number(w[1], 0, 3, line, "the seat");
        ScriptedClaim c;
        c.line = line;
        const std::string& op = w[2];
        if (op == "chow") {
            Need(w, 6, line, "claim SEAT chow A B TILE");
            c.op = protocol::OpChow;
            c.chow = {TileWord(w[3], line), TileWord(w[4], line)};
            c.tile = TileWord(w[5], line);
        } else {
            Need(w, 4, line, "claim SEAT pass|pong|kong|win TILE");
            if (op == "pass")
                c.op = protocol::OpPass;
            else if (op == "pong")
                c.op = protocol::OpPong;
            else if (op == "kong")
                c.op = protocol::OpExposedKong;
            else if (op == "win")
                c.op = protocol::OpWin;
            else
                Fail(line, "a claim is pass, chow, pong, kong or win, not \"" + op + "\"");
            c.tile = TileWord(w[3], line);
        }
        h.hand.claims[static_cast<std::size_t>(s)].push_back(c);
    } else if (key == "claims") {
        Need(w, 2, line, "claims scripted");
        if (w[1] != "scripted")
            Fail(line, "expected \"claims scripted\"");
        h.hand.claimsScripted = true;
    } else {
        Fail(line, "unknown line \"" + key + "\"");
    }
}

} // namespace

std::optional<Preset> ParsePreset(const std::string& text, std::string& error)
{
    Preset p;
    std::optional<HandDraft> draft;
    std::istringstream in(text);
    std::string raw;
    int line = 0;
    try {
        while (std::getline(in, raw)) {
            ++line;
            const auto hash = raw.find('#');
            if (hash != std::string::npos)
                raw.erase(hash);
            std::istringstream words(raw);
            std::vector<std::string> w;
            for (std::string word; words >> word;)
                w.push_back(word);
            if (!w.empty())
                Directive(w, line, p, draft);
        }
        if (draft)
            Finish(*draft, p);
        if (p.hands.empty())
            throw Fault{"the preset has no hand line"};
    } catch (const Fault& f) {
        error = f.text;
        return std::nullopt;
    }
    return p;
}

} // namespace tableserver
