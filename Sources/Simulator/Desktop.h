#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "Base/Foundation/Mutex.h"
#include "Simulator/AccessCall.h"
#include "Simulator/AlertInfo.h"
#include "Simulator/ApplicationFolders.h"
#include "Simulator/ApplicationInfo.h"
#include "Simulator/ColorPanelInfo.h"
#include "Simulator/DesktopEvent.h"
#include "Simulator/DesktopValues.h"
#include "Simulator/DisplayInfo.h"
#include "Simulator/FilePanelInfo.h"
#include "Simulator/InputEvent.h"
#include "Simulator/InterfaceElement.h"
#include "Simulator/LoginItem.h"
#include "Simulator/PlatformDefaults.h"
#include "Simulator/PreferenceData.h"
#include "Simulator/TitleBarButtons.h"
#include "Simulator/WindowInfo.h"

namespace sim {

/// A simulated macOS desktop as a window manager sees it: displays, running applications and
/// their windows, the Accessibility view of them, the window server's list, keyboard and
/// pointer. Tests build one, drive it through the methods of the first half (what users and
/// applications do) and assert on it; clients reach it through connections, which call the
/// methods of the second half with the client's identifier.
///
/// One lock guards the whole model, so it may be driven from several threads; events for
/// clients are delivered after the lock is let go, on the thread that caused them. Everything
/// timed (late writes, tap timeouts) runs on the main queue of the runtime's clock. Make it
/// with `std::make_shared`: timed work holds it weakly.
class Desktop : public std::enable_shared_from_this<Desktop> {
  public:
    /// The platform's messaging timeout when a client sets none.
    static constexpr double defaultMessagingTimeout = PlatformDefaults::messagingTimeout;
    /// How long an active tap may take to answer before the system disables it.
    static constexpr double tapTimeout = 1.0;
    static constexpr double menuBarHeight = 25;
    /// Window numbers start here and grow; one is reused only when a test asks for it.
    static constexpr WindowNumber firstWindowNumber = 100;
    /// The key code of N, which with Command asks an application for a new window.
    static constexpr std::uint16_t keyCodeN = 45;
    static constexpr std::uint64_t commandFlag = 0x100000;
    /// Simulated processes are numbered from here.
    static constexpr Pid firstPid = 70000;

    Desktop();
    Desktop(const Desktop&) = delete;
    Desktop& operator=(const Desktop&) = delete;

    // ---- Displays. The first display holds the menu bar; its top left is the origin.

    /// Adds a display with a menu bar at its top (and a Dock strip at its bottom when asked).
    DisplayID addDisplay(const CGRect& frame, std::optional<DisplayID> id = std::nullopt,
                         double dockHeight = 0);
    void removeDisplay(DisplayID id);
    void moveDisplay(DisplayID id, const CGRect& frame);
    std::vector<DisplayInfo> displays() const;

    // ---- Applications, launched and driven from outside.

    Pid launch(const ApplicationSpec& spec);
    /// Launches an application whose windows are already open when the launch is announced.
    Pid launch(const ApplicationSpec& spec, const std::vector<WindowSpec>& windows);
    /// Registers an application as installed at a path, besides the bundles found on disk.
    void install(const InstalledApplication& application);
    /// The folder that stands for the machine's root, below which its system folders such as
    /// "/Applications" lie; "/" unless set.
    void setFileSystemRoot(const std::string& root);
    /// Starts the executable of a bundle being opened as a process of its own and gives its
    /// pid (0 when it could not be started); the process then registers with that pid and is
    /// taken as the application. A bundle whose executable is missing or may not be run is
    /// refused before anything is started. Without a starter an opened bundle is registered
    /// without a process.
    using ProcessStarter = std::function<Pid(const ApplicationBundle& bundle)>;
    void setProcessStarter(ProcessStarter starter);
    /// Delivers a signal to a process of this machine; true when it was delivered. The desktop
    /// hands it only pids that a process was seen to stand behind (`confirmProcess`), with its
    /// lock held: it must not call the desktop back. Without one nothing is ever signalled.
    using ProcessSignaller = std::function<bool(Pid pid, int signal)>;
    void setProcessSignaller(ProcessSignaller signaller);
    /// A process of this machine stands behind the application's pid: its server saw that
    /// process connect and register under it. Only such an application is ever signalled;
    /// once it is terminated its pid is no longer trusted (the system may hand it out again).
    void confirmProcess(Pid pid);
    /// Brings the application to the front; `allWindows` raises all its windows.
    void activate(Pid pid, bool allWindows = false);
    void hide(Pid pid);
    void unhide(Pid pid);
    /// Ends the process; `stayListed` keeps it in the running list, terminated, as the
    /// workspace does for a moment on the real platform.
    void terminate(Pid pid, bool stayListed = false);
    /// How long the application takes to answer an Accessibility call: a call waits that long
    /// for its answer, or fails once its messaging timeout runs out first. Infinity: the
    /// application never answers.
    void setResponseDelay(Pid pid, double seconds);
    /// How long a call on the element with this messaging timeout waits before it is answered:
    /// the application's response delay, or the timeout when that runs out first (the call then
    /// fails); 0 when nothing makes it wait.
    double answerWait(ElementID element, double timeout) const;
    void setEnhancedUserInterface(Pid pid, bool on);
    bool enhancedUserInterface(Pid pid) const;
    std::optional<ApplicationInfo> application(Pid pid) const;
    std::optional<Pid> frontmost() const;
    /// The application does not come forward when another process asks it to, by activating it
    /// or by writing its "AXFrontmost" (it is busy, declines as applications may, or the
    /// platform dropped the request); the user can still bring it forward.
    void setDeclinesActivation(Pid pid, bool declines);
    /// The application comes to the front right after the next request of a process to
    /// activate `other` (`activateApplication`) is carried out, as a person who clicks it the
    /// moment `other` came: before anyone hears that `other` came.
    void activateWhenFront(Pid pid, Pid other);
    /// The application opens a new window when ⌘N reaches it (as a terminal or an editor does).
    void setOpensWindowOnCommandN(Pid pid, bool opens);
    /// The key and mouse events that reached the application, oldest first.
    std::vector<InputEvent> receivedInput(Pid pid) const;

    // ---- Windows, opened and changed by their applications.

    WindowNumber openWindow(Pid owner, const WindowSpec& spec = {});
    /// A number no window has had yet, kept for a window its application opens later with it
    /// (as `WindowSpec::number`), so that the application can name the window before it appears.
    WindowNumber reserveWindowNumber();
    void closeWindow(WindowNumber number);
    /// The application moves or resizes its own window.
    void moveWindow(WindowNumber number, const CGRect& frame);
    void setMinimized(WindowNumber number, bool minimized);
    void setFullScreen(WindowNumber number, bool fullScreen);
    /// The application gives the window its focus (and makes it its main window).
    void focusWindow(WindowNumber number);
    void setWriteAnswer(WindowNumber number, const WriteAnswer& answer);
    void setSettable(WindowNumber number, bool position, bool size);
    void setSizeLimits(WindowNumber number, CGSize minimum, CGSize maximum);
    void setListedInAXWindows(WindowNumber number, bool listed);
    /// Whether the window's number reads, and which of its attributes do not.
    void setReadability(WindowNumber number, bool numberReadable,
                        std::vector<std::string> unreadableAttributes = {});
    /// The application starts handing out a new element for the window: the old one still
    /// reaches it, but the two are not equal.
    ElementID replaceElement(WindowNumber number);
    std::optional<WindowInfo> window(WindowNumber number) const;
    /// Every window, front to back (higher layers first).
    std::vector<WindowInfo> windows() const;
    std::optional<WindowNumber> focusedWindow(Pid pid) const;
    /// How a client's own window was last described; none for other windows.
    std::optional<OwnWindowSpec> ownWindow(WindowNumber number) const;

    /// Makes a change `seconds` from now on the runtime's clock, as an application that acts on
    /// its own time does (a window that minimizes itself, one that appears late). Nothing
    /// happens once the desktop is gone.
    void later(double seconds, std::function<void(Desktop&)> change);

    // ---- Accessibility trust.

    void setTrusted(bool trusted);
    /// The prompt grants trust when it is shown (a user who clicks through at once).
    void setGrantsTrustOnPrompt(bool grants);
    int trustPromptCount() const;

    // ---- Modal alerts. Nobody sits at this desktop to click: the person a test stands for
    // presses the buttons it scripted, one per alert in order, and the first button of an
    // alert when nothing is scripted.

    /// The titles of the buttons pressed in the next alerts, in order (after any still
    /// scripted). A title the alert does not have abandons it.
    void answerAlerts(const std::vector<std::string>& buttons);
    /// Every alert shown, oldest first, with the answer it got.
    std::vector<AlertRecord> alerts() const;

    // ---- Input from the hardware: through the taps, then to the front application.

    void keyDown(std::uint16_t keyCode, std::uint64_t flags = 0);
    void keyUp(std::uint16_t keyCode, std::uint64_t flags = 0);
    void pressKey(std::uint16_t keyCode, std::uint64_t flags = 0);
    void mouseDown(CGPoint location, std::uint64_t flags = 0);
    void mouseUp(CGPoint location, std::uint64_t flags = 0);
    void rightMouseDown(CGPoint location, std::uint64_t flags = 0);
    void rightMouseUp(CGPoint location, std::uint64_t flags = 0);
    /// One key down and up per character of the UTF-8 text, typing it (with Shift where the
    /// keyboard needs it; characters the keyboard has no key for come on key code 0).
    void typeText(const std::string& text);
    void movePointer(CGPoint location);
    /// The pointer moves there and the scroll wheel turns, `deltaY` points (negative: towards
    /// the end of what is under the pointer).
    void scrollWheel(CGPoint location, double deltaY);
    /// Taps can no longer be made (as without the permission to watch input).
    void setRefusesTaps(bool refuses);
    /// The system disables the tap as it does when the user holds secure input, and tells it.
    void disableTapByUserInput(TapID tap);
    std::size_t tapCount() const;
    bool isTapEnabled(TapID tap) const;
    /// Events waiting for a tap's answer or behind one.
    std::size_t pendingInputCount() const;

    // ---- The processes' own interface: what their windows show, the status items in the menu
    // bar, open menus and close buttons. Clicks on an open menu, a status item or an own window
    // and keys for an own window go to its process, which hit-tests its own views.

    /// The largest picture a window may send, packed; a larger one is refused.
    static constexpr std::size_t maximumPictureBytes = 32u << 20;
    /// What all windows' pictures may hold together, packed; a picture past it is refused.
    static constexpr std::size_t maximumPicturesBytes = 256u << 20;
    /// Status items start this far from the right edge of the menu bar.
    static constexpr double statusItemMargin = 10;
    /// The widest a status item may be.
    static constexpr double maximumStatusItemLength = 1000;

    /// The content a client's window showed last; none for other windows.
    std::optional<OwnWindowContent> ownWindowContent(WindowNumber number) const;
    WindowPicture ownWindowPicture(WindowNumber number) const;
    /// The packed pictures held now, in bytes (windows and status items).
    std::size_t pictureBytes() const;
    /// Right to left.
    std::vector<StatusItemInfo> statusItems() const;
    /// The elements of every own window on screen (of one process, when given): windows front
    /// to back, each window's own element first, then its title bar's buttons when it is
    /// titled, frames on screen.
    std::vector<ElementRecord> elements(std::optional<Pid> pid = std::nullopt) const;
    /// The items of the open menu, top to bottom; empty when none is open.
    std::vector<MenuItemRecord> openMenu() const;
    /// Clicks the first enabled item of the open menu that shows that title; false when there
    /// is none.
    bool pickMenuItem(const std::string& title);
    /// Tells the window's process its close button was pressed; false when it has none.
    bool pressCloseButton(WindowNumber number);
    /// The buttons a window's title bar shows on screen now (none for a window without a
    /// title bar), and whether they show in colour: the key window's do.
    std::vector<TitleBarButton> titleBarButtons(WindowNumber number) const;

    // A click on a title bar button (a press and a release on the same button) does what the
    // button is for: close asks the window's process, as `pressCloseButton` does, or closes an
    // application's window; minimize minimizes the window; zoom asks the window's process to
    // zoom it, or puts an application's window in full screen and back.

    // ---- The call record.

    std::vector<AccessCall> accessCalls() const;
    /// The set calls only, in order.
    std::vector<AccessCall> writes() const;
    void clearAccessCalls();
    void setRecordsAccessCalls(bool records);

    double bootTime() const;
    void setBootTime(double secondsSince1970);
    /// The operating system's version text, as process information gives it.
    std::string operatingSystemVersion() const;
    void setOperatingSystemVersion(std::string version);
    /// Opens a file viewer window with these items selected.
    void activateFileViewer(const std::vector<std::string>& paths);
    /// The file URL of an absolute path, its bytes beyond the unreserved ones and "/" escaped.
    static std::string fileURL(const std::string& path);
    /// The selections file viewer windows were opened with, oldest first.
    std::vector<std::vector<std::string>> fileViewerSelections() const;

    // ---- Preference domains of the current user: an application identifier each, and the
    // domain every application reads below its own.

    /// The any-application domain, where global preferences are kept.
    static constexpr const char* globalPreferenceDomain = PlatformDefaults::globalPreferenceDomain;
    /// As the user or a command-line tool sets it: always kept. None removes the key.
    void setPreference(const std::string& domain, const std::string& key,
                       std::optional<PreferenceData> value);
    std::optional<PreferenceData> preference(const std::string& domain,
                                             const std::string& key) const;
    /// A domain that does not keep writes (one a profile manages, or one the system protects)
    /// takes a client's writes without complaint and drops them.
    void setKeepsPreferenceWrites(const std::string& domain, bool keeps);
    /// How often clients synchronized the domain.
    int preferenceSynchronizations(const std::string& domain) const;

    // ---- The system's own interface: the one pasteboard, file and colour panels answered as
    // scripted (like alerts), the URLs handed over to be opened, Reduce Motion.

    /// What the person answers in the next file panels, in order: an absolute path chooses
    /// that file, `filePanelCancelled` cancels. A panel with nothing scripted is cancelled.
    void answerFilePanels(const std::vector<std::string>& answers);
    std::vector<FilePanelRecord> filePanels() const;
    /// The colours the person picks in the next colour panels, in order; a panel with nothing
    /// scripted is closed without a pick.
    void answerColorPanels(const std::vector<std::string>& colors);
    /// A colour as panels take and give it, "#" and six upper-case hexadecimal digits, from
    /// six hexadecimal digits with or without the "#"; none for anything else.
    static std::optional<std::string> normalizedColor(const std::string& text);
    std::vector<ColorPanelRecord> colorPanels() const;
    /// Every URL opened or revealed, oldest first; a revealed file as its file URL.
    std::vector<std::string> openedURLs() const;
    void setReduceMotion(bool on);

    // ---- Login items, kept per application: by its bundle identifier, else its executable.

    /// How the desktop answers the application's login-item requests from now on.
    void setLoginItemPolicy(const std::string& application, LoginItemPolicy policy);
    /// Each application that has a login item or a policy, as "identifier status policy".
    std::vector<std::string> loginItems() const;

    // ---- What connections call, for the client they serve: one method for each operation of
    // DesktopOperations.def, of the same name, with the client first where it takes one.

    ClientID attach(EventSink sink);
    void detach(ClientID client);
    Pid registerClient(ClientID client, const ApplicationSpec& self);
    bool isTrusted() const;
    bool checkTrust(bool prompt);
    ElementID applicationElement(Pid pid);
    ElementID systemWideElement() const;
    AttributeReply copyAttribute(ElementID element, const std::string& attribute, double timeout);
    std::vector<AttributeReply> copyAttributes(ElementID element,
                                               const std::vector<std::string>& attributes,
                                               double timeout);
    AccessError setAttribute(ElementID element, const std::string& attribute,
                             const AttributeValue& value, double timeout);
    SettableReply isAttributeSettable(ElementID element, const std::string& attribute,
                                      double timeout);
    AccessError performAction(ElementID element, const std::string& action, double timeout);
    PidReply elementPid(ElementID element);
    WindowNumberReply windowNumber(ElementID element);
    ObserverReply createObserver(ClientID client, Pid pid);
    AccessError addNotification(ObserverID observer, ElementID element,
                                const std::string& notification);
    AccessError removeNotification(ObserverID observer, ElementID element,
                                   const std::string& notification);
    void releaseObserver(ObserverID observer);
    std::vector<WindowListRow> windowList(std::uint32_t options, WindowNumber relativeTo) const;
    std::vector<ApplicationInfo> runningApplications() const;
    std::optional<Pid> frontmostApplication() const { return frontmost(); }
    bool activateApplication(Pid pid, bool allWindows);
    bool hideApplication(Pid pid);
    bool unhideApplication(Pid pid);
    bool terminateApplication(Pid pid);
    bool signalProcess(Pid pid, int signal);
    void setActivationPolicy(Pid pid, ActivationPolicy policy);
    std::optional<std::string> applicationLocation(const std::string& bundleID) const;
    OpenReply openApplication(const std::string& bundlePath);
    std::string fileSystemRoot() const;
    TapID createTap(ClientID client, const TapSpec& spec);
    void enableTap(TapID tap, bool enabled);
    void releaseTap(TapID tap);
    void answerTapEvent(const TapAnswer& answer);
    void postEvent(const InputEvent& event, std::uint32_t location);
    void postEventToPid(const InputEvent& event, Pid pid);
    std::uint32_t pressedMouseButtons() const;
    CGPoint pointerLocation() const;
    std::uint64_t modifierFlags() const;
    WindowNumber createOwnWindow(ClientID client, const OwnWindowSpec& spec);
    void updateOwnWindow(WindowNumber number, const OwnWindowSpec& spec);
    void orderOwnWindow(WindowNumber number, bool front);
    void closeOwnWindow(WindowNumber number);
    /// Refused (kept as it was) for a window of another client, a malformed picture or one past
    /// the bounds.
    void drawOwnWindow(ClientID client, const OwnWindowContent& content);
    StatusItemID createStatusItem(ClientID client, const StatusItemSpec& spec);
    CGRect updateStatusItem(StatusItemID item, const StatusItemSpec& spec);
    CGRect statusItemFrame(StatusItemID item) const;
    void removeStatusItem(StatusItemID item);
    AlertAnswer runAlert(ClientID client, const AlertSpec& alert);
    std::optional<PreferenceData> copyPreference(const std::string& domain,
                                                 const std::string& key) const;
    /// None removes the key; a domain that does not keep writes drops it.
    void writePreference(const std::string& domain, const std::string& key,
                         const std::optional<PreferenceData>& value);
    /// False for a domain that does not keep writes.
    bool synchronizePreferences(const std::string& domain);

    std::int64_t clearPasteboard();
    bool setPasteboardString(const std::string& string);
    std::optional<std::string> pasteboardString() const;
    FilePanelAnswer runFilePanel(ClientID client, const FilePanelSpec& panel);
    std::optional<std::string> showColorPanel(ClientID client, const ColorPanelSpec& panel);
    bool openURL(const std::string& url);
    bool reduceMotion() const;
    /// The client's login item: "notRegistered", "enabled", "requiresApproval", "notFound".
    std::string loginItemStatus(ClientID client) const;
    /// Registers (true) or unregisters the client as a login item; the refusal's text, none
    /// when it was done.
    std::optional<std::string> setLoginItem(ClientID client, bool on);

  private:
    struct Application {
        ApplicationInfo info;
        ClientID client = 0;  // the connection that registered it, 0 for a simulated one
        double responseDelay = 0;
        bool enhancedUserInterface = false;
        bool listedAfterTermination = false;
        bool opensWindowOnCommandN = false;
        bool awaitingProcess = false;   // started for a bundle, its process not yet registered
        bool processConfirmed = false;  // a real process of this machine stands behind the pid
        bool declinesActivation = false;
        std::optional<WindowNumber> focused;
        std::optional<WindowNumber> main;
        std::vector<InputEvent> input;
    };
    struct Window {
        WindowInfo info;
        std::uint64_t incarnation = 0;
        std::vector<ElementID> elements;  // every element that reaches it, the current last
        bool orderedIn = true;
        bool own = false;
        OwnWindowSpec look;        // a client's own window only
        OwnWindowContent content;  // what it showed last
        CGRect frameBeforeFullScreen;
    };
    struct StatusItem {
        ClientID client = 0;
        Pid pid = 0;
        StatusItemSpec spec;
    };
    /// Who takes the mouse between a button's press and its release.
    struct MouseCapture {
        std::optional<WindowNumber> window;
        std::optional<StatusItemID> item;
        /// The press fell on the window's title bar button: the desktop's, not the window's.
        std::optional<TitleBarButton::Kind> button;
    };
    struct Element {
        enum class Kind { application, window, systemWide };
        Kind kind = Kind::application;
        Pid pid = 0;
        WindowNumber window = 0;
        std::uint64_t incarnation = 0;
    };
    struct Observer {
        ClientID client = 0;
        Pid pid = 0;
        std::vector<std::pair<ElementID, std::string>> registrations;
    };
    struct Tap {
        ClientID client = 0;
        TapSpec spec;
        bool enabled = true;
        std::uint64_t order = 0;
    };
    struct PendingInput {
        InputEvent event;
        std::uint32_t location = 0;
        std::optional<Pid> target;    // posted to one process, past every tap
        std::vector<TapID> tapsLeft;  // in delivery order
    };
    struct Awaiting {
        std::uint64_t delivery = 0;
        TapID tap = 0;
    };
    using Outbox = std::vector<std::pair<ClientID, DesktopEvent>>;
    /// Holds the lock for one operation and delivers the events it produced once the lock is
    /// let go.
    class Transaction;

    // Helpers. Those named …Locked expect the lock held, and clang checks every call; the timed
    // work that `landLater` and a tap's delivery leave behind takes the lock when it runs.
    Application* applicationLocked(Pid pid) REQUIRES(mutex_);
    const Application* applicationLocked(Pid pid) const REQUIRES(mutex_);
    Window* windowLocked(WindowNumber number) REQUIRES(mutex_);
    const Window* windowLocked(WindowNumber number) const REQUIRES(mutex_);
    Window* windowOfLocked(const Element& element) REQUIRES(mutex_);
    ElementID newElementLocked(Element element) REQUIRES(mutex_);
    /// A process that shares this desktop learns at once that what it read of the window may
    /// have changed, as one that observes the window learns it by notification.
    void reportChangeLocked(const Window& window) const REQUIRES(mutex_);
    /// The same for a change of the window's frame alone.
    void reportMoveLocked(const Window& window) const REQUIRES(mutex_);
    ElementID applicationElementLocked(Pid pid) const REQUIRES(mutex_);
    /// What the identifier stands for; none when it is no element of this desktop.
    std::optional<Element> elementLocked(ElementID id) const REQUIRES(mutex_);
    /// The running application the client registered (the highest pid of several); 0 for none.
    Pid clientApplicationLocked(ClientID client) const REQUIRES(mutex_);
    Pid launchLocked(const ApplicationSpec& spec, ClientID client,
                     const std::vector<WindowSpec>& windows = {}) REQUIRES(mutex_);
    WindowNumber openWindowLocked(Pid owner, const WindowSpec& spec, bool own) REQUIRES(mutex_);
    void destroyWindowLocked(WindowNumber number, bool notify) REQUIRES(mutex_);
    void terminateLocked(Pid pid, bool stayListed) REQUIRES(mutex_);
    void raiseLocked(WindowNumber number) REQUIRES(mutex_);
    bool activateLocked(Pid pid, bool allWindows) REQUIRES(mutex_);
    void activateNextLocked(Pid leaving) REQUIRES(mutex_);
    void setFocusedWindowLocked(Application& app, std::optional<WindowNumber> number)
        REQUIRES(mutex_);
    void applyFrameLocked(Window& window, const CGRect& frame) REQUIRES(mutex_);
    void setFullScreenLocked(Window& window, bool fullScreen) REQUIRES(mutex_);
    AccessError writePositionLocked(Window& window, CGPoint position) REQUIRES(mutex_);
    AccessError writeSizeLocked(Window& window, CGSize size) REQUIRES(mutex_);
    void landLater(WindowNumber number, std::uint64_t incarnation, CGRect frame, double delay);
    CGRect answeredFrameLocked(const Window& window, CGRect frame) const REQUIRES(mutex_);
    std::optional<DisplayInfo> displayForLocked(const CGRect& frame) const REQUIRES(mutex_);
    bool onScreenLocked(const Window& window) const REQUIRES(mutex_);
    std::vector<WindowNumber> orderedLocked() const REQUIRES(mutex_);
    void notifyWindowLocked(const Window& window, const std::string& name) REQUIRES(mutex_);
    void notifyApplicationLocked(Pid pid, const std::string& name, ElementID element)
        REQUIRES(mutex_);
    void postWorkspaceLocked(WorkspaceNotification::Kind kind, Pid pid) REQUIRES(mutex_);
    void postAllLocked(const DesktopEvent& event) REQUIRES(mutex_);
    AccessError reachLocked(const Element& element, double timeout) const REQUIRES(mutex_);
    void recordLocked(AccessCall call) REQUIRES(mutex_);
    /// Reads the attributes of one element as one message, recorded as one call of `kind`.
    std::vector<AttributeReply> readLocked(AccessCall::Kind kind, ElementID id,
                                           const std::vector<std::string>& attributes,
                                           double timeout) REQUIRES(mutex_);
    AttributeReply readAttributeLocked(const Element& element, const std::string& attribute)
        REQUIRES(mutex_);
    AttributeReply readWindowLocked(const Window& window, const std::string& attribute) const
        REQUIRES(mutex_);
    AttributeReply readApplicationLocked(Pid pid, const std::string& attribute) REQUIRES(mutex_);
    AccessError writeWindowLocked(Window& window, const std::string& attribute,
                                  const AttributeValue& value) REQUIRES(mutex_);
    AccessError writeApplicationLocked(Pid pid, const std::string& attribute,
                                       const AttributeValue& value) REQUIRES(mutex_);
    void hardwareInputLocked(const InputEvent& event) REQUIRES(mutex_);
    void pressLocked(std::uint32_t type, std::uint32_t button, CGPoint location,
                     std::uint64_t flags) REQUIRES(mutex_);
    /// Hands a hardware event to a process's own interface; false when it is not theirs.
    bool routeToOwnInterfaceLocked(const InputEvent& event) REQUIRES(mutex_);
    /// A move with no button held: to the own window under the pointer, if any.
    bool routePointerMoveLocked(const InputEvent& event) REQUIRES(mutex_);
    std::optional<MouseCapture> mouseReceiverLocked(CGPoint location) const REQUIRES(mutex_);
    std::optional<WindowNumber> keyReceiverLocked() const REQUIRES(mutex_);
    std::optional<WindowNumber> openMenuLocked() const REQUIRES(mutex_);
    void sendToWindowLocked(WindowNumber number, const InputEvent& event) REQUIRES(mutex_);
    /// A click on a window of `owner`: the key windows of every other process stop being key,
    /// and their processes are told.
    void takeKeyFromOthersLocked(Pid owner) REQUIRES(mutex_);
    std::optional<TitleBarButtons::Style> titleBarLocked(const Window& window) const
        REQUIRES(mutex_);
    /// The enabled title bar button of the window at the point, if any.
    std::optional<TitleBarButton::Kind> titleBarButtonLocked(const Window& window,
                                                             CGPoint point) const REQUIRES(mutex_);
    bool pressCloseButtonLocked(WindowNumber number) REQUIRES(mutex_);
    void pressTitleBarButtonLocked(WindowNumber number, TitleBarButton::Kind kind) REQUIRES(mutex_);
    void setMinimizedLocked(Window& window, bool minimized) REQUIRES(mutex_);
    /// The release of a press that fell on an application window's title bar button: on the
    /// same button, it does what the button is for.
    void releaseApplicationButtonLocked(const InputEvent& event) REQUIRES(mutex_);
    std::vector<std::pair<StatusItemID, CGRect>> statusItemFramesLocked() const REQUIRES(mutex_);
    CGRect statusItemFrameLocked(StatusItemID item) const REQUIRES(mutex_);
    void applyStatusItemLocked(StatusItem& item, const StatusItemSpec& spec) REQUIRES(mutex_);
    std::size_t pictureBytesLocked() const REQUIRES(mutex_);
    void enqueueInputLocked(const InputEvent& event, std::uint32_t location,
                            std::optional<Pid> target) REQUIRES(mutex_);
    void pumpInputLocked() REQUIRES(mutex_);
    void deliverToApplicationLocked(const InputEvent& event, std::optional<Pid> target)
        REQUIRES(mutex_);
    void tapTimedOut(std::uint64_t delivery) EXCLUDES(mutex_);
    void disableTapLocked(TapID tap, std::uint32_t reason) REQUIRES(mutex_);
    void updateDisplaysLocked() REQUIRES(mutex_);
    OpenReply launchBundleLocked(const ApplicationBundle& bundle) REQUIRES(mutex_);
    void setPreferenceLocked(const std::string& domain, const std::string& key,
                             std::optional<PreferenceData> value) REQUIRES(mutex_);

    mutable Mutex mutex_;
    Outbox outbox_ GUARDED_BY(mutex_);
    std::map<ClientID, EventSink> clients_ GUARDED_BY(mutex_);

    std::vector<DisplayInfo> displays_ GUARDED_BY(mutex_);
    std::map<Pid, Application> applications_ GUARDED_BY(mutex_);
    std::vector<Pid> launchOrder_ GUARDED_BY(mutex_);
    std::vector<InstalledApplication> installed_ GUARDED_BY(mutex_);
    ApplicationFolders folders_ GUARDED_BY(mutex_);
    ProcessStarter processStarter_ GUARDED_BY(mutex_);
    ProcessSignaller processSignaller_ GUARDED_BY(mutex_);
    Pid nextPid_ GUARDED_BY(mutex_) = firstPid;
    std::optional<Pid> active_ GUARDED_BY(mutex_);
    std::vector<Pid> activationHistory_ GUARDED_BY(mutex_);  // most recent last
    /// For an application, the one that comes to the front right after it is next activated
    /// on request.
    std::map<Pid, Pid> followingActivations_ GUARDED_BY(mutex_);

    std::map<WindowNumber, Window> windows_ GUARDED_BY(mutex_);
    std::vector<WindowNumber> zOrder_ GUARDED_BY(mutex_);  // front to back within every layer
    WindowNumber nextNumber_ GUARDED_BY(mutex_) = firstWindowNumber;
    std::uint64_t nextIncarnation_ GUARDED_BY(mutex_) = 1;

    /// Window elements; application elements and the system-wide one are known by their
    /// identifiers alone.
    std::map<std::uint64_t, Element> elements_ GUARDED_BY(mutex_);
    std::map<ObserverID, Observer> observers_ GUARDED_BY(mutex_);

    std::map<StatusItemID, StatusItem> statusItems_ GUARDED_BY(mutex_);  // in creation order
    std::optional<MouseCapture> mouseCapture_ GUARDED_BY(mutex_);
    /// The own window the pointer was last over, told when the pointer leaves it.
    std::optional<WindowNumber> pointerWindow_ GUARDED_BY(mutex_);
    /// An application window's title bar button that a press fell on, until the release.
    std::optional<std::pair<WindowNumber, TitleBarButton::Kind>> applicationButton_
        GUARDED_BY(mutex_);

    std::deque<std::string> alertPresses_ GUARDED_BY(mutex_);
    std::vector<AlertRecord> alerts_ GUARDED_BY(mutex_);

    bool trusted_ GUARDED_BY(mutex_) = true;
    bool grantsTrustOnPrompt_ GUARDED_BY(mutex_) = false;
    int trustPrompts_ GUARDED_BY(mutex_) = 0;

    std::map<TapID, Tap> taps_ GUARDED_BY(mutex_);
    std::uint64_t nextTapOrder_ GUARDED_BY(mutex_) = 0;
    bool refusesTaps_ GUARDED_BY(mutex_) = false;
    std::deque<PendingInput> input_ GUARDED_BY(mutex_);
    std::optional<Awaiting> awaiting_ GUARDED_BY(mutex_);
    std::uint64_t nextDelivery_ GUARDED_BY(mutex_) = 1;
    CGPoint pointer_ GUARDED_BY(mutex_);
    std::uint32_t buttons_ GUARDED_BY(mutex_) = 0;
    std::uint64_t flags_ GUARDED_BY(mutex_) = 0;

    std::vector<AccessCall> calls_ GUARDED_BY(mutex_);
    bool recordsCalls_ GUARDED_BY(mutex_) = true;
    double bootTime_ GUARDED_BY(mutex_);
    std::string operatingSystemVersion_ GUARDED_BY(mutex_) = "Version 14.5 (Build 23F79)";
    std::vector<std::vector<std::string>> fileViewerSelections_ GUARDED_BY(mutex_);

    std::map<std::string, std::map<std::string, PreferenceData>> preferences_ GUARDED_BY(mutex_);
    std::set<std::string> domainsDroppingWrites_ GUARDED_BY(mutex_);
    std::map<std::string, int> preferenceSynchronizations_ GUARDED_BY(mutex_);

    // The system's own interface.
    std::int64_t pasteboardChanges_ GUARDED_BY(mutex_) = 0;
    std::optional<std::string> pasteboardString_ GUARDED_BY(mutex_);
    std::deque<std::string> filePanelAnswers_ GUARDED_BY(mutex_);
    std::vector<FilePanelRecord> filePanels_ GUARDED_BY(mutex_);
    std::deque<std::string> colorPicks_ GUARDED_BY(mutex_);
    std::vector<ColorPanelRecord> colorPanels_ GUARDED_BY(mutex_);
    std::vector<std::string> openedURLs_ GUARDED_BY(mutex_);
    bool reduceMotion_ GUARDED_BY(mutex_) = false;
    std::map<std::string, LoginItem> loginItems_ GUARDED_BY(mutex_);
};

}  // namespace sim
