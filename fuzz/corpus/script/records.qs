// Records, fixed and open arrays, and a class method.

TYPE
  Point = RECORD
    x : real;
    y : real;
  ENDRECORD;
  Track = CLASS
    title : string;
    seconds : integer;
  ENDRECORD;
ENDTYPE

GLOBAL
  corners : array [1 .. 4] of Point;
  names : array of string;
ENDVAR

// A method of Track: the object before the dot is SELF inside it.
procedure _18SHOW
  writeln(self.title, " (", self.seconds / 60:0, ":", self.seconds % 60:0, ")")
endproc

procedure Main
  var
    i : integer;
    t : Track;
    perimeter : real;
  endvar

  corners[1].x := 0;  corners[1].y := 0
  corners[2].x := 4;  corners[2].y := 0
  corners[3].x := 4;  corners[3].y := 3
  corners[4].x := 0;  corners[4].y := 3
  for i := 1 to 4
    perimeter := perimeter + abs(corners[i % 4 + 1].x - corners[i].x) + abs(corners[i % 4 + 1].y - corners[i].y)
  endfor
  writeln("Perimeter: ", perimeter:0:1)

  names[0] := "Intro"
  names[1] := "Theme"
  names[2] := "Coda"
  for i := low(names) to high(names)
    writeln(i:2, ". ", names[i])
  endfor

  t.title := "Overture"
  t.seconds := 425
  t.show
endproc
