// SPDX-License-Identifier: MIT
#include "backends/x11/x11_window_at_point.h"

#include <cstddef>

#include "backends/x11/x11_replies.h"

namespace pelmora {

namespace {

// Walks deeper than this are taken for a fault and stopped.
constexpr std::size_t kMostLevels = 64;

// What is asked about one window on the way down: whether it is a client (WM_STATE),
// and which of its children lies at the point.
struct Step {
    xcb_window_t window = XCB_NONE;
    xcb_get_property_cookie_t state{};
    xcb_translate_coordinates_cookie_t below{};
};

Step AskAbout(xcb_connection_t* xcb, xcb_window_t window, xcb_window_t root, xcb_atom_t wmState, ScreenPoint point) {
    return {window, xcb_get_property(xcb, 0, window, wmState, XCB_GET_PROPERTY_TYPE_ANY, 0, 0),
            xcb_translate_coordinates(xcb, root, window, static_cast<std::int16_t>(point.x),
                                      static_cast<std::int16_t>(point.y))};
}

void ForgetStep(xcb_connection_t* xcb, const Step& step) {
    Forget(xcb, step.state);
    Forget(xcb, step.below);
}

// The walk down to the window at point. path holds the windows the last walk went
// through; their steps go out with the first request, and each is used while the walk
// goes the same way. Afterwards path holds this walk's windows. The answer: the first
// client on the way, else the deepest window (the root over bare background); nothing
// when a window on the way vanished meanwhile.
std::optional<FoundAtPoint> Descend(xcb_connection_t* xcb, xcb_window_t root, xcb_atom_t wmState, ScreenPoint point,
                                    std::vector<std::uint32_t>& path, xcb_translate_coordinates_cookie_t top) {
    std::vector<Step> guesses;
    guesses.reserve(path.size());
    for (const std::uint32_t window : path) guesses.push_back(AskAbout(xcb, window, root, wmState, point));
    std::size_t nextGuess = 0;
    const auto forgetGuesses = [&] {
        for (; nextGuess < guesses.size(); ++nextGuess) ForgetStep(xcb, guesses[nextGuess]);
    };

    path.clear();
    const auto topReply = Await(xcb_translate_coordinates_reply, xcb, top);
    if (!topReply) {
        forgetGuesses();
        return std::nullopt;
    }
    FoundAtPoint answer{root, false};
    xcb_window_t current = topReply->child;
    while (current != XCB_NONE && path.size() < kMostLevels) {
        path.push_back(current);
        Step step;
        if (nextGuess < guesses.size() && guesses[nextGuess].window == current) {
            step = guesses[nextGuess++];
        } else {
            forgetGuesses();  // the way differs from here on
            step = AskAbout(xcb, current, root, wmState, point);
        }
        const auto state = Await(xcb_get_property_reply, xcb, step.state);
        if (!state) {
            Forget(xcb, step.below);
            forgetGuesses();
            path.clear();
            return std::nullopt;
        }
        answer.window = current;
        if (state->type != XCB_NONE) {
            answer.client = true;
            Forget(xcb, step.below);
            break;
        }
        const auto below = Await(xcb_translate_coordinates_reply, xcb, step.below);
        if (!below) {
            forgetGuesses();
            path.clear();
            return std::nullopt;
        }
        current = below->child;
    }
    forgetGuesses();
    return answer;
}

}  // namespace

PointWalkResult WalkToPoint(xcb_connection_t* xcb, xcb_window_t root, xcb_atom_t wmState, ScreenPoint point,
                            std::vector<std::uint32_t>& path, xcb_window_t lastAnswer,
                            const X11WindowTextReader& reader) {
    const auto top = xcb_translate_coordinates(xcb, root, root, static_cast<std::int16_t>(point.x),
                                               static_cast<std::int16_t>(point.y));
    std::optional<X11WindowTextReader::Requests> texts;
    if (lastAnswer != XCB_NONE) texts = reader.Ask(lastAnswer, {.wmClass = true});
    PointWalkResult result{Descend(xcb, root, wmState, point, path, top), std::nullopt};
    if (texts) {
        if (result.answer && result.answer->window == lastAnswer) result.answerTexts = reader.Collect(*texts);
        else reader.Forget(*texts);
    }
    return result;
}

}  // namespace pelmora
