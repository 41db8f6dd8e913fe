#pragma once

// Names of the attributes, actions and notifications, and the trust option.

inline constexpr const char* kAXRoleAttribute = "AXRole";
inline constexpr const char* kAXSubroleAttribute = "AXSubrole";
inline constexpr const char* kAXTitleAttribute = "AXTitle";
inline constexpr const char* kAXPositionAttribute = "AXPosition";
inline constexpr const char* kAXSizeAttribute = "AXSize";
inline constexpr const char* kAXMinimizedAttribute = "AXMinimized";
inline constexpr const char* kAXFullScreenAttribute = "AXFullScreen";
inline constexpr const char* kAXMainAttribute = "AXMain";
inline constexpr const char* kAXFocusedAttribute = "AXFocused";
inline constexpr const char* kAXWindowsAttribute = "AXWindows";
inline constexpr const char* kAXFocusedWindowAttribute = "AXFocusedWindow";
inline constexpr const char* kAXMainWindowAttribute = "AXMainWindow";
inline constexpr const char* kAXFrontmostAttribute = "AXFrontmost";
inline constexpr const char* kAXHiddenAttribute = "AXHidden";
inline constexpr const char* kAXEnhancedUserInterfaceAttribute = "AXEnhancedUserInterface";
inline constexpr const char* kAXFocusedApplicationAttribute = "AXFocusedApplication";

inline constexpr const char* kAXWindowRole = "AXWindow";
inline constexpr const char* kAXApplicationRole = "AXApplication";
inline constexpr const char* kAXStandardWindowSubrole = "AXStandardWindow";
inline constexpr const char* kAXDialogSubrole = "AXDialog";
inline constexpr const char* kAXFloatingWindowSubrole = "AXFloatingWindow";

inline constexpr const char* kAXRaiseAction = "AXRaise";

inline constexpr const char* kAXWindowCreatedNotification = "AXWindowCreated";
inline constexpr const char* kAXFocusedWindowChangedNotification = "AXFocusedWindowChanged";
inline constexpr const char* kAXMainWindowChangedNotification = "AXMainWindowChanged";
inline constexpr const char* kAXWindowMovedNotification = "AXWindowMoved";
inline constexpr const char* kAXWindowResizedNotification = "AXWindowResized";
inline constexpr const char* kAXUIElementDestroyedNotification = "AXUIElementDestroyed";
inline constexpr const char* kAXWindowMiniaturizedNotification = "AXWindowMiniaturized";
inline constexpr const char* kAXWindowDeminiaturizedNotification = "AXWindowDeminiaturized";
inline constexpr const char* kAXApplicationActivatedNotification = "AXApplicationActivated";
inline constexpr const char* kAXApplicationDeactivatedNotification = "AXApplicationDeactivated";
inline constexpr const char* kAXApplicationHiddenNotification = "AXApplicationHidden";
inline constexpr const char* kAXApplicationShownNotification = "AXApplicationShown";
inline constexpr const char* kAXTitleChangedNotification = "AXTitleChanged";

/// Key of the options of `AXIsProcessTrustedWithOptions`: a true boolean shows the prompt.
inline constexpr const char* kAXTrustedCheckOptionPrompt = "AXTrustedCheckOptionPrompt";
