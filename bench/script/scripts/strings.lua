local n = 0
for i = 1, 200000 do
  local s = "item" .. tostring(i) .. "-" .. tostring(i % 13)
  if string.find(s, "99", 1, true) then
    n = n + 1
  end
  local t = string.sub(s, 2, 4)
  n = n + #t
end
print(n)
