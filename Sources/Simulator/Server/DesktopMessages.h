#pragma once

#include <optional>
#include <stdexcept>
#include <string>

#include "Base/JSON/JSONCoding.h"
#include "Simulator/AlertInfo.h"
#include "Simulator/ApplicationInfo.h"
#include "Simulator/ColorPanelInfo.h"
#include "Simulator/DesktopEvent.h"
#include "Simulator/DesktopValues.h"
#include "Simulator/DisplayInfo.h"
#include "Simulator/FilePanelInfo.h"
#include "Simulator/InputEvent.h"
#include "Simulator/InterfaceElement.h"
#include "Simulator/PreferenceData.h"
#include "Simulator/WindowInfo.h"

// The messages of the desktop's socket.
//
// Every message is one JSON object on one line, written by the one JSON writer (compact, keys
// sorted), in UTF-8, ended by a line feed. A line longer than 1 MiB from a client is answered
// with {"error":"line too long"} and the client is dropped; only a window's pixels
// (`drawOwnWindow`, whose line begins {"args":{"drawing":) may take up to 48 MiB, and another
// operation sent on such a line is answered {"error":"line too long"}.
//
// Requests (client to server):
//     {"args":{...},"id":7,"op":"copyAttribute"}
// `op` names the operation, `args` holds its arguments (absent: none). A request with an `id`
// (an unsigned integer the client chooses; unique among its requests in flight) gets exactly
// one reply with that `id`; one without gets none, even when it fails (`answerTapEvent` is sent
// so). Replies to one client come in the order of its requests, but for the Accessibility calls
// on an application that answers late (`kelvo-sim slow`, `hang`): such a call is held until its
// answer is due (the application's delay, or the call's `timeout` when that runs out first, and
// then it fails with -25204), and the requests behind it are answered meanwhile.
//
// Replies (server to client):
//     {"id":7,"result":{...}}            the operation ran; `result` holds what it returned
//     {"error":"unknown op frob","id":7} it did not run
//     {"id":7,"waiting":true}            held for a slow application: the reply follows, later
//                                        than the connection deadline if its timeout is longer
// A line that is not a JSON object with a text `op` is answered {"error":"unreadable request: "
// and the line} (with the request's `id` when one could be read); the connection stays open.
//
// Whether the desktop is still there (a client that has heard nothing for a while asks):
//     {"id":7,"op":"ping"}  ->  {"id":7,"result":{}}
// answered by the server itself, at once and in order with the client's other requests, and
// never counted among the requests served.
//
// Events (server to client, pushed at any time between replies):
//     {"body":{...},"event":"observer"}
// Events caused by a client's own request reach it before that request's reply.
//
// Values inside `args`, `result` and `body`:
//     point     {"x":1,"y":2}                         size  {"height":2,"width":1}
//     rect      {"height":4,"width":3,"x":1,"y":2}    Accessibility convention: top left, y down
//     element   its raw identifier, an unsigned integer (0: none)
//     error     the Accessibility error code, an integer (0 success, -25202 invalid element, ...)
//     value     an attribute value, one key saying its kind: {} (no value), {"bool":true},
//               {"number":1.5}, {"text":"..."}, {"point":point}, {"size":size},
//               {"element":element}, {"elements":[element,...]}
//     event     {"autorepeat":false,"characters":"1" (absent: none),"flags":524288,
//                "keyCode":18,"location":point,"sourcePid":123 (absent for the hardware),
//                "type":10}
//     application {"active","activationPolicy" (0 regular, 1 accessory, 2 prohibited),
//                "bundleID" (absent: none),"bundlePath" (absent: none),"executablePath",
//                "hidden","name","pid","terminated"}
//     spec (of an application) {"activationPolicy","bundleID","bundlePath","executablePath",
//                "name","pid"}, optional keys absent when none
//     window    {"alpha","element","frame":rect,"fullScreen","layer","listedInAXWindows",
//                "maximumSize":size,"minimized","minimumSize":size,"number","onScreen","owner",
//                "positionSettable","role","sizeSettable","subrole","title"}
//     row       {"alpha","bounds":rect,"layer","name","number","onScreen","ownerName",
//                "ownerPID"}
//     display   {"frame":rect,"id","visibleFrame":rect}
//     windowSpec {"answer":{"keepsAspectRatio","keepsInsideVisibleFrame","landsAfter",
//                "refusalError","refusesPosition","refusesSize"},"frame":rect,"layer",
//                "listedInAXWindows","maximumSize":size,"minimumSize":size,"number" (optional),
//                "positionSettable","role","sizeSettable","subrole","title"}; every key optional
//     ownWindow {"alpha","background":colour,"borderColour":colour,"borderWidth","cornerRadius",
//                "frame":rect,"ignoresMouseEvents","level","opacity","title"}; every key
//                optional. What the window's content layer draws: its background, a border
//                of that width and colour inside its frame, corners of that radius, all at
//                the layer's opacity
//     colour    {"alpha","blue","green","red"}, sRGB components in 0 to 1
//     ownWindow also {"closable","key","menu","nonactivating"}: it has a close button; it is its
//                process's key window; it is an open menu (it takes every key and click until it
//                closes); it is a panel that takes keys while another application is active
//     ownWindow also {"hasShadow","miniaturizable","resizable","titled"}, written only when
//                true: the desktop draws a shadow under it; its minimize and zoom buttons work;
//                it has a title bar with the three buttons drawn by the desktop
//     picture   {"height","packed","width"}: premultiplied ARGB pixels packed in runs
//                (Simulator/WindowPicture.h), in URL-safe base 64 ("-" and "_", no padding);
//                at most 4096 a side, and runs that fill the size exactly
//     content   {"drawing":picture,"elements":[element,...],"menu":[menuItem,...],"number"}
//     element   {"enabled","focused","frame":rect,"identifier" (absent: none),"label","role",
//                "toolTip" (absent: none),"value" (absent: none)}; frame in the window (drawn)
//                or on screen (listed)
//     menuItem  {"enabled","frame":rect,"separator","state","title"}; frame in the menu's window
//     elementRecord {"element":element,"pid","window"}
//     statusItemSpec {"image":picture,"imageIsTemplate","label","length","toolTip"}
//     statusItem {"frame":rect,"item","pid","spec":statusItemSpec}
//     alert     {"buttons":[title,...],"informativeText","messageText"}
//     alertRecord {"alert":alert,"answer","owner"}; answer 1000 for the first button, 1001
//                for the second, ..., -1001 when none was pressed
//     contentType {"extension","identifier"}  a kind of file: "json", "public.json"
//     filePanel {"allowedContentTypes":[contentType,...],"allowsMultipleSelection",
//                "canChooseDirectories","canChooseFiles","canCreateDirectories",
//                "kind" ("save" or "open"),"nameFieldStringValue","sheetOf" (the window it is
//                a sheet of; absent: run modally),"title"}
//     filePanelRecord {"answer" (the chosen path, or "cancel"),"owner","panel":filePanel}
//     colorPanel {"color" ("#" and six upper-case hexadecimal digits),"showsAlpha"}
//     colorPanelRecord {"owner","panel":colorPanel,"picked" (absent: closed without a pick)}
//     preference one key saying its kind: {"bool":true}, {"integer":1}, {"real":0.5},
//               {"string":"..."}, {"date":seconds since 2001}, {"data":"00ff" (hex)},
//               {"array":[preference,...]}, {"dictionary":{"key":preference,...}}
//
// The operations, with their arguments and results, are listed once in
// Simulator/DesktopOperations.def; both ends follow from that list. What they look like on the
// socket:
//
// Operations of the connection interface, for the client that sends them (args -> result):
//     registerClient   {spec}                                 -> {"pid"}
//     isTrusted        {}                                     -> {"trusted"}
//     checkTrust       {"prompt"}                             -> {"trusted"}
//     applicationElement {"pid"}                              -> {"element"}
//     systemWideElement {}                                    -> {"element"}
//     copyAttribute    {"attribute","element","timeout"}      -> {"error","value"}
//     copyAttributes   {"attributes","element","timeout"}     -> {"replies"}: copyAttribute's
//     setAttribute     {"attribute","element","timeout","value"} -> {"error"}
//     isAttributeSettable {"attribute","element","timeout"}   -> {"error","settable"}
//     performAction    {"action","element","timeout"}         -> {"error"}
//     elementPid       {"element"}                            -> {"error","pid"}
//     windowNumber     {"element"}                            -> {"error","number"}
//     createObserver   {"pid"}                                -> {"error","observer"}
//     addNotification / removeNotification {"element","notification","observer"} -> {"error"}
//     releaseObserver  {"observer"}                           -> {}
//     windowList       {"options","relativeTo"}               -> {"rows":[row,...]}
//     displays         {}                                     -> {"displays":[display,...]}
//     runningApplications {}                                  -> {"applications":[application]}
//     application      {"pid"}                                -> {"application"} (absent: none)
//     frontmostApplication {}                                 -> {"pid"} (absent: none)
//     activateApplication {"allWindows","pid"}                -> {"done"}
//     hideApplication / unhideApplication / terminateApplication {"pid"} -> {"done"}
//     signalProcess    {"pid","signal"}                       -> {"done"}
//     setActivationPolicy {"pid","policy"}                    -> {}
//     applicationLocation {"bundleID"}                        -> {"path"} (absent: none)
//     openApplication  {"bundlePath"}                         -> {"pid","failure"} (failure
//                      absent when it opened; pid 0 when it did not)
//     fileSystemRoot   {}                                     -> {"root"}
//     createTap        {"eventsOfInterest","location","options","placement"} -> {"tap"}
//     enableTap        {"enabled","tap"}                      -> {}
//     isTapEnabled     {"tap"}                                -> {"enabled"}
//     releaseTap       {"tap"}                                -> {}
//     answerTapEvent   {"delivery","passed":event (absent: swallowed)} -> {}
//     postEvent        {"event","location"}                   -> {}
//     postEventToPid   {"event","pid"}                        -> {}
//     pressedMouseButtons {}                                  -> {"buttons"}
//     pointerLocation  {}                                     -> {"location":point}
//     modifierFlags    {}                                     -> {"flags"}
//     createOwnWindow  {"spec":ownWindow}                     -> {"number"}
//     updateOwnWindow  {"number","spec":ownWindow}            -> {}
//     orderOwnWindow   {"front","number"}                     -> {}
//     closeOwnWindow   {"number"}                             -> {}
//     runAlert         {"alert"}                              -> {"answer"} the button pressed
//     bootTime         {}                                     -> {"bootTime"} (seconds since 1970)
//     copyPreference   {"domain","key"}                       -> {"value"} (none when absent)
//     writePreference  {"domain","key","value"}               -> {} (no "value": remove)
//     synchronizePreferences {"domain"}                       -> {"done"}
//     drawOwnWindow    content, sent without an id             -> none: the desktop keeps the
//                      latest picture of the client's own window and never waits on its drawing;
//                      a malformed or oversized one (more than 32 MiB packed, or past 256 MiB for
//                      all windows and items together) is dropped and the last one kept
//     createStatusItem {"spec":statusItemSpec}                -> {"item"} placed right to left
//     updateStatusItem {"item","spec":statusItemSpec}         -> {"frame":rect} where it stands
//     statusItemFrame  {"item"}                               -> {"frame":rect}
//     removeStatusItem {"item"}                               -> {}
//     operatingSystemVersion {}                               -> {"version"}
//     activateFileViewer {"paths":[path,...]}                  -> {}
//     clearPasteboard  {}                                     -> {"changeCount"}
//     setPasteboardString {"string"}                          -> {"done"}
//     pasteboardString {}                                     -> {"string"} (absent: none)
//     runFilePanel     {"panel":filePanel}                    -> {"path"} (absent: cancelled)
//     showColorPanel   {"panel":colorPanel}                   -> {"color"} picked (absent: none)
//     openURL          {"url"}                                -> {"done"}
//     reduceMotion     {}                                     -> {"reduceMotion"}
//     loginItemStatus  {}                                     -> {"status"} the client's
//                                                 login item
//     setLoginItem     {"on"}                                 -> {"error"} (absent: done)
//
// Operations of a registered application on its own windows (the fixture application); "pid"
// names the application the client acts as, one it registered (absent: the first):
//     reserveWindowNumber {"pid"}                             -> {"number"} for a later openWindow
//     openWindow       {"pid","spec":windowSpec}              -> {"number"} (no spec: defaults)
//     closeWindow      {"number"}                             -> {}
//     moveWindow       {"frame","number"}                     -> {}
//     setMinimized     {"minimized","number"}                 -> {}
//     focusWindow      {"number"}                             -> {}
//     hideSelf / unhideSelf / activateSelf {"pid"}            -> {}
//     setOpensWindowOnCommandN {"opens","pid"}                -> {}
// A window that is not the client's own is answered {"error":"not your window N"}, an
// application it did not register {"error":"not your application N"}.
//
// Operations of the command line (a person or a harness driving the desktop):
//     windows          {}                     -> {"windows":[window,...]}, front to back
//     applications     {}                     -> {"applications":[application,...]}
//     key              {"flags","keyCode"}    -> {}  pressed and released by the hardware
//     click            {"flags","x","y"}      -> {}  left button down and up there
//     pointer          {"x","y"}              -> {}  the pointer moves there
//     scroll           {"deltaY","x","y"}     -> {}  the pointer moves there and the wheel
//                                                 turns deltaY points (negative: on towards
//                                                 the end of what is under it)
//     drag             {"fromX","fromY","toX","toY"} -> {} left button down at from, the
//                                                 pointer moves to `to` in even steps, and
//                                                 the button comes up there
//     activate         {"pid"}                -> {}  the application comes to the front, as
//                                                 a person brings it there
//     activateAfter    {"after","pid"}        -> {}  the same, right after a process next
//                                                 asks `after` to activate (as a person
//                                                 clicking it the moment `after` came), before
//                                                 the news of `after` goes out
//     hide / unhide    {"pid"}                -> {}  the application is hidden or shown, as
//                                                 by the user from outside it
//     trust            {"trusted"}            -> {}
//     slow             {"pid","seconds"}      -> {}  its Accessibility answers come that late
//     hang / unhang    {"pid"}                -> {}  its Accessibility answers never come, or
//                                                    come at once again
//     declineActivation {"declines","pid"}   -> {}  while declining, the application stays
//                                                 where it is when another process asks it to
//                                                 come to the front (`activateApplication`, an
//                                                 "AXFrontmost" write), as when the platform
//                                                 drops such a request; `activate` still brings
//                                                 it forward
//     receivedInput    {"pid"}                -> {"events":[event,...]} that reached the
//                                                 application, oldest first
//     ownWindows       {}                     -> {"windows":[{"number","spec":ownWindow},...]}
//                                                 clients' own windows with what they draw,
//                                                 front to back
//     alerts           {}                     -> {"alerts":[alertRecord,...]} oldest first
//     answerAlerts     {"buttons":[title,...]} -> {} the buttons pressed in the next alerts;
//                                                 without any, each alert gets its first
//     rightClick       {"flags","x","y"}      -> {}  right button down and up there
//     typeText         {"text"}               -> {}  one key down and up per character
//     statusItems      {}                     -> {"items":[statusItem,...]} right to left
//     elements         {"pid" (absent: all)}  -> {"elements":[elementRecord,...]} every own
//                                                 window on screen, front to back, its own
//                                                 element ("window") first
//     ownWindowPicture {"number"}             -> {"picture"} what the window showed last
//     openMenu         {}                     -> {"items":[menuItem,...]} of the open menu
//     pickMenuItem     {"title"}              -> {"picked"} clicks the first enabled item that
//                                                 shows that title or has it as its plain
//                                                 title; false when there is none
//     pressCloseButton {"number"}             -> {"pressed"} false without a close button
//     filePanels       {}                     -> {"panels":[filePanelRecord,...]} oldest first
//     answerFilePanels {"answers":[path or "cancel",...]} -> {} the answers to the next file
//                                                 panels; without any, a panel is cancelled
//     colorPanels      {}                     -> {"panels":[colorPanelRecord,...]} oldest first
//     answerColorPanels {"colors":[colour text,...]} -> {} the colours picked in the next
//                                                 colour panels
//     openedURLs       {}                     -> {"urls":[url,...]} opened or revealed, oldest
//                                                 first
//     setReduceMotion  {"on"}                 -> {}
//     setLoginItemPolicy {"application","policy"} -> {} how the desktop answers that
//                                                 application's login-item requests
//     loginItems       {}                     -> {"items":["identifier status policy",...]}
//     requestsServed   {"pid"}                -> {"requests"} the requests answered so far
//                                                 for the client that registered the
//                                                 application
//     shutdown         {}                     -> {}  the server ends after the reply
//
// Arguments a request may leave out: "prompt" and "allWindows" (false), "options" and
// "relativeTo" (0), "location" (0, the hardware's tap location), "flags" (0) and "timeout" (the
// platform's messaging timeout; a negative one is answered {"error":"timeout must not be
// negative"}). Any other argument left out, unless its operation says what that means, is
// answered {"error":"bad arguments for OP: ..."}.
//
// Events (`event` -> `body`):
//     observer   {"element","name","observer"}         an observer's notification
//     workspace  {"kind","pid"}   kind: "launched", "terminated", "activated", "deactivated",
//                                 "hidden", "unhidden"
//     screens    {}                                    displays were added, removed or moved
//     tap        {"delivery","event","tap"}            an event for a tap; an active tap's
//                                 waits for `answerTapEvent` with that `delivery`
//     terminate  {}                                    the desktop asks the client to quit
//     windowInput {"event","window"}   a key or mouse event for one of the client's windows
//                                 (location on screen, top left): clicks go to the top-most
//                                 window under the pointer that takes them, a press's drags and
//                                 release to the window that had the press, keys to the open
//                                 menu, else to an own key window whose process is in front
//                                 or that is a non-activating panel; a move without a button
//                                 to the window under the pointer, and once more (outside its
//                                 frame) to the window the pointer left
//     statusItemInput {"event","item"}  a mouse event on one of the client's status items
//     closeButton {"window"}           a person pressed the window's close button
//     zoomButton {"window"}            a person pressed the window's zoom button
//     keyStatusLost {"window"}         the window is no longer key: the person clicked a
//                                      window of another process
//     mouseButtons {"buttons"}         the mouse buttons held now (bit 0 left, bit 1 right),
//                                      to every client, before the press or release itself
//
// A client that closes its connection, or whose process dies, leaves the desktop: the
// applications it registered are terminated (their windows close, with the notifications
// that follow), its observers and taps are removed, and the tap events it still owed an
// answer pass on unchanged.

namespace sim {

/// A request as the server reads it.
struct DesktopRequest {
    std::optional<std::uint64_t> id;
    std::string op;
    kelvo::JSONValue args = kelvo::JSONValue::object();
};

/// A line that is not a request; `id` when one could still be read.
class UnreadableRequest : public std::runtime_error {
  public:
    UnreadableRequest(std::string line, std::optional<std::uint64_t> id)
        : std::runtime_error("unreadable request: " + line), id(id) {}
    std::optional<std::uint64_t> id;
};

/// The line forms of the protocol, all written with the one JSON writer.
struct DesktopMessages {
    DesktopMessages() = delete;

    /// The request that asks whether the desktop is still there.
    static constexpr const char* probe = "ping";

    /// How the one writer begins a window's drawing (`drawOwnWindow`).
    static constexpr const char* drawingRequestPrefix = "{\"args\":{\"drawing\":";

    /// Throws UnreadableRequest. A drawing written by the one writer has its picture's text set
    /// aside before the line is parsed and put back into the arguments as it is: the text is
    /// most of the line, and the parser takes some ten nanoseconds a character.
    static DesktopRequest decodeRequest(const std::string& line);
    static std::string reply(std::uint64_t id, const kelvo::JSONValue& result);
    static std::string failure(std::optional<std::uint64_t> id, const std::string& error);
    /// The request is held for an application that answers late; its reply follows.
    static std::string waiting(std::uint64_t id);
    static std::string event(const DesktopEvent& event);
    /// Reads an event's name and body back; none for an event this side does not know.
    static std::optional<DesktopEvent> decodeEvent(const std::string& name,
                                                   const kelvo::JSONValue& body);
    static std::string eventName(const DesktopEvent& event);
    static kelvo::JSONValue eventBody(const DesktopEvent& event);

    static std::string workspaceKind(WorkspaceNotification::Kind kind);
    static std::optional<WorkspaceNotification::Kind> workspaceKind(const std::string& raw);
};

}  // namespace sim

// Every value that crosses the socket has a JSON form.
namespace kelvo {

#define SIM_JSON_CODING(Type)                       \
    template <>                                     \
    struct JSONCoding<Type> {                       \
        static JSONValue encode(const Type& value); \
        static Type decode(const JSONNode& node);   \
    }

SIM_JSON_CODING(CGPoint);
SIM_JSON_CODING(CGSize);
SIM_JSON_CODING(CGRect);
SIM_JSON_CODING(sim::ElementID);
SIM_JSON_CODING(sim::AccessError);
SIM_JSON_CODING(sim::AttributeValue);
SIM_JSON_CODING(sim::AttributeReply);
SIM_JSON_CODING(sim::SettableReply);
SIM_JSON_CODING(sim::PidReply);
SIM_JSON_CODING(sim::WindowNumberReply);
SIM_JSON_CODING(sim::ObserverReply);
SIM_JSON_CODING(sim::ActivationPolicy);
SIM_JSON_CODING(sim::ApplicationInfo);
SIM_JSON_CODING(sim::ApplicationSpec);
SIM_JSON_CODING(sim::OpenReply);
SIM_JSON_CODING(sim::WriteAnswer);
SIM_JSON_CODING(sim::WindowSpec);
SIM_JSON_CODING(sim::WindowInfo);
SIM_JSON_CODING(sim::WindowListRow);
SIM_JSON_CODING(sim::Colour);
SIM_JSON_CODING(sim::OwnWindowSpec);
SIM_JSON_CODING(sim::OwnWindowLook);
SIM_JSON_CODING(sim::AlertSpec);
SIM_JSON_CODING(sim::AlertRecord);
SIM_JSON_CODING(sim::DisplayInfo);
SIM_JSON_CODING(sim::InputEvent);
SIM_JSON_CODING(sim::TapSpec);
SIM_JSON_CODING(sim::TapAnswer);
SIM_JSON_CODING(sim::PreferenceData);
SIM_JSON_CODING(sim::WindowPicture);
SIM_JSON_CODING(sim::InterfaceElement);
SIM_JSON_CODING(sim::MenuItemRecord);
SIM_JSON_CODING(sim::OwnWindowContent);
SIM_JSON_CODING(sim::ElementRecord);
SIM_JSON_CODING(sim::StatusItemSpec);
SIM_JSON_CODING(sim::StatusItemInfo);
SIM_JSON_CODING(sim::ContentType);
SIM_JSON_CODING(sim::FilePanelSpec);
SIM_JSON_CODING(sim::FilePanelRecord);
SIM_JSON_CODING(sim::ColorPanelSpec);
SIM_JSON_CODING(sim::ColorPanelRecord);

#undef SIM_JSON_CODING

}  // namespace kelvo
