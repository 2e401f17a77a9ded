#pragma once

#include <QString>

// What the rights on a port say to a user the system refused it to: the
// facts behind the advice that a refused open carries.
struct PortAccess {
    QString user;                  // who runs the program
    QString owner;                 // the port's owner; empty when unknown
    QString group;                 // the port's group
    bool groupMayUse = false;      // the group's rights would let the user in
    bool userListedInGroup = false; // the system lists the user as a member
    bool processInGroup = false;   // this process runs with the group's rights
};

// Reads the rights on the port at path (through a link) and the user's groups.
PortAccess portAccessOf(const QString &path);

// How the user gets the port, in the program's words: join the port's group,
// or log in again when the membership is newer than the session.
QString noAccessAdvice(const PortAccess &access);
