[playlist]
NumberOfEntries=2
File1=a.mp3
Title1=First
File2=http://radio/live
Title2=Radio
Length2=-1
Version=2
