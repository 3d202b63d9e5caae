local a = {}
local s = 0
for i = 0, 199999 do
  a[i] = i * 2
end
for i = 0, 199999 do
  s = s + a[i] % 10
end
local t = {}
for i = 1, 50000 do
  t[i % 20000] = { id = i % 20000, value = i }
end
for i = 0, 19999 do
  local e = t[i]
  if e then
    s = s + e.value % 10
  end
end
print(s)
