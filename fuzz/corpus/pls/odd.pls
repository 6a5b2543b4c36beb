; comment
[other]
File1=x
[playlist]
File1 =blank
File1=b.ogg  
File3=gap
[Playlist]
File2=y
