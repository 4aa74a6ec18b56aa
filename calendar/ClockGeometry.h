// Points on the clock face: the x and y offsets of a point at an angle in
// degrees and a distance from the centre. Angle 0 points to 3 o'clock; with
// view coordinates (y grows downward) angles grow clockwise on screen.
//
//   BPoint tip(centre.x + X_AnArc(angle, r), centre.y + Y_AnArc(angle, r));
#pragma once

float X_AnArc(float angle, float radius);
float Y_AnArc(float angle, float radius);
