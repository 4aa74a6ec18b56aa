// How views reach Qt's accessibility bridge (Accessible.h says what a view
// tells). Platform-internal; parts use BView::GetAccessibleInfo and
// BView::AccessibleChanged.
//
// Every view with a widget of its own is read through an interface that
// asks the view; a view drawn by its parent gets an interface of its own,
// made when a tool first asks for it and dropped with the view. The
// children an interface lists are the view's children in their order.
#pragma once

#include "platform/interface/Accessible.h"

class BView;
class QAccessibleInterface;

// Lets Qt ask views for their interfaces. Cheap; the view widgets call it.
void InstallViewAccessibility();

// The interface of a view, made on the first call; null for a view that
// is left out (B_ACCESSIBLE_IGNORED) or has no place on screen.
QAccessibleInterface* AccessibleOf(BView* view);

// Tells listening tools of a change; returns at once while none listens or
// the view's window is not shown.
void AnnounceViewChange(BView* view, accessible_change change);
// A view drawn by its parent came into or is leaving a shown window.
void AnnounceViewAdded(BView* view);
void ForgetViewAccessible(BView* view);
