#pragma once
// The desktop around the program: clipboard (10 tries each), opening documents and addresses with
// the desktop's default program, the folder picker, special folders, the online help, and the
// system questions the start-up asks.
#include <QString>
#include <QUrl>
#include <functional>

class QObject;

// The clipboard's text; "" when it cannot be read in 10 tries.
QString ClipGetText();
void ClipSetText(const QString& text);
void ClipClear();

// Opens a document, folder or address with the desktop's default program (a log file in the text
// editor, a folder in the file manager, an address in the browser). A failure is shown, naming
// what could not be opened (what; by default the file, folder or page) and where it is.
void ShellOpen(const QString& target, const QString& what = {});
// Replaces what ShellOpen does (tests); an empty function restores the desktop.
void setShellOpener(std::function<bool(const QUrl&)> opener);

// The folder picker over the owner window (nullptr: the active window), with the title as its
// prompt and the start folder selected: the chosen folder, or "" when cancelled.
QString BrowseForFolder(QObject* owner, const QString& title, const QString& startFolder);

// The base address of the online help pages: help/base of Quorvane.ini in the configuration folder
// (os::configFolder), or the built-in default. A page name is resolved below it.
QString HelpBaseUrl();
QString HelpUrl(const QString& page);
// Opens the help page when the machine is online; otherwise shows offlineText ("\n" marks a line
// break) under offlineTitle, or the standard offline notice.
void WebHelp(const QString& url, const QString& offlineText = {}, const QString& offlineTitle = {});
// Replaces the connectivity check (tests); an empty function restores it.
void setOnlineProbe(std::function<bool()> probe);
// True when the machine has a way out: a default route (IPv4 or IPv6) through an interface other
// than the loopback. A network of its own without one (a switched-on bridge, a LAN without a
// gateway) is no connection.
bool IsOnline();
// The same answer from the kernel's route tables (/proc/net/route, /proc/net/ipv6_route).
bool HasDefaultRoute(const QByteArray& ipv4Routes, const QByteArray& ipv6Routes);

// Removes one trailing separator from path and names the special folder it is, or "".
QString SpecialFolderName(QString& path);
// 16 desktop, 5 documents, 38 program files (the folder holding the program folder), 46 common
// documents (the public share folder); "" for any other number.
QString GetFolderPath(int id);
// 2 the temporary folder; a name: "Desktop", "MyDocuments", "Templates", "Fonts", "AppData",
// "Programs"; "" where this system has no such folder (0 Windows and 1 system, other names).
QString SpecialFolderPath(const QString& name);
QString SpecialFolderPath(int number);

// Always false: the program runs natively.
bool IsWow64();
// "major.minor build" of the running kernel, for example "6.1 0".
QString GetOSVersion();
