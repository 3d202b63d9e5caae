// String and date routines.

procedure Main
  var
    s : string;
    n : integer;
    r : real;
    year : word;
    month : word;
    day : word;
    jul : longint;
  endvar

  s := "Orbisong plays discs"
  writeln(length(s):0, " characters, 'plays' at ", pos("plays", s):0)
  writeln(copy(s, 10, 5))
  insert("audio ", s, 16)
  writeln(s)
  delete(s, 1, 9)
  writeln(s)
  n := val("3.75", r)
  writeln("val gives ", n:0, " and ", r:0:2)
  str(r * 2:8:2, s)
  writeln("[", s, "]")
  writeln(chr(ord("A") + 2), " ", intToStr(strToInt("41") + 1))

  jul := GregToJul(1, 1, 2000)
  writeln("1 January 2000 is day ", jul:0)
  JulToGreg(jul + 59, month, day, year)
  writeln("59 days later: ", year:0, "-", month:0, "-", day:0)
endproc
